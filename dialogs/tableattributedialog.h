#pragma once
// TableAttributeDialog: the look of the caret's table, row or cell — the
// grid lines' width and colour, the cells' shading, the alignment of their
// text and the width of the columns — shown for editing.

#include "engine/tables.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QPushButton;

namespace dialogs {

class TableAttributeDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr double kTwipsPerPoint = 20.0;
    static constexpr double kTwipsPerCentimetre = 567.0;

    TableAttributeDialog(const engine::TableLook& look, engine::TablePart part, QWidget* parent = nullptr);
    ~TableAttributeDialog() override;

    // The look as the controls show it now.
    engine::TableLook look() const;

    // The controls, for the dialog's tests.
    QDoubleSpinBox* borderBox() const { return m_border; }
    QPushButton* borderColorButton() const { return m_borderColorButton; }
    QCheckBox* shadingBox() const { return m_shaded; }
    QPushButton* shadingButton() const { return m_shadingButton; }
    QComboBox* alignmentBox() const { return m_alignment; }
    QComboBox* verticalAlignmentBox() const { return m_verticalAlignment; }
    QDoubleSpinBox* widthBox() const { return m_width; }
    QPushButton* okButton() const { return m_ok; }

    static QString titleFor(engine::TablePart part);

private:
    void chooseBorderColor();
    void chooseShading();
    void showColor(QPushButton& button, int color);

    QDoubleSpinBox* m_border = nullptr;
    QPushButton* m_borderColorButton = nullptr;
    QCheckBox* m_shaded = nullptr;
    QPushButton* m_shadingButton = nullptr;
    QComboBox* m_alignment = nullptr;
    QComboBox* m_verticalAlignment = nullptr;
    QDoubleSpinBox* m_width = nullptr;
    QPushButton* m_ok = nullptr;
    int m_borderColor = 0;
    int m_shading = 0xFFFFFF;
};

} // namespace dialogs
