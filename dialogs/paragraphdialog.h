#pragma once
// ParagraphDialog: the alignment, indents, spacing and line height of the
// selection's paragraphs, shown for editing. Indents are shown in
// characters (one character is the paragraph's font size) or centimetres,
// spacing and line height in points.

#include "engine/paragraphformat.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;

namespace dialogs {

// Lengths in twips; a line spacing of 0 is automatic.
struct ParagraphLook {
    engine::ParagraphAlignment alignment = engine::ParagraphAlignment::Left;
    double leftIndent = 0;
    double rightIndent = 0;
    double firstLineIndent = 0;
    double spaceBefore = 0;
    double spaceAfter = 0;
    double lineSpacing = 0;

    bool operator==(const ParagraphLook&) const = default;
};

class ParagraphDialog : public QDialog {
    Q_OBJECT
public:
    enum Unit { Characters, Centimetres };
    static constexpr double kTwipsPerPoint = 20.0;
    static constexpr double kTwipsPerCentimetre = 567.0;
    static constexpr double kMaxIndentTwips = 31680;  // 22 inches, the widest page
    static constexpr double kMaxSpacingTwips = 31680; // 1584 points

    // `characterTwips`: the width of one character, the paragraph's font size.
    ParagraphDialog(const ParagraphLook& look, double characterTwips, QWidget* parent = nullptr);
    ~ParagraphDialog() override;

    // The look as the controls show it now.
    ParagraphLook look() const;

    // The controls, for the dialog's tests.
    QComboBox* alignmentBox() const { return m_alignment; }
    QComboBox* unitBox() const { return m_unit; }
    QDoubleSpinBox* leftIndentBox() const { return m_left; }
    QDoubleSpinBox* rightIndentBox() const { return m_right; }
    QDoubleSpinBox* firstLineIndentBox() const { return m_firstLine; }
    QDoubleSpinBox* spaceBeforeBox() const { return m_before; }
    QDoubleSpinBox* spaceAfterBox() const { return m_after; }
    QDoubleSpinBox* lineSpacingBox() const { return m_lineSpacing; }

private:
    double twipsPerUnit(int unit) const;
    void showIndents(const ParagraphLook& look, int unit);
    void switchUnit(int unit);

    double m_characterTwips;
    int m_shownUnit = Characters;
    ParagraphLook m_shown; // the lengths the boxes were given
    QComboBox* m_alignment = nullptr;
    QComboBox* m_unit = nullptr;
    QDoubleSpinBox* m_left = nullptr;
    QDoubleSpinBox* m_right = nullptr;
    QDoubleSpinBox* m_firstLine = nullptr;
    QDoubleSpinBox* m_before = nullptr;
    QDoubleSpinBox* m_after = nullptr;
    QDoubleSpinBox* m_lineSpacing = nullptr;
};

} // namespace dialogs
