#pragma once
// FontDialog: the font dialog — family, style, size, colours, underline and
// strike-out, with a preview — over a FontForm. OK with a size the engine
// cannot take says so and keeps the dialog open.

#include "dialogs/fontform.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace dialogs {

class FontDialog : public QDialog {
    Q_OBJECT
public:
    static const QString kPreviewText;

    explicit FontDialog(const env::FontRequest& initial, QWidget* parent = nullptr);
    ~FontDialog() override;

    // What the controls show now.
    FontForm form() const;
    // The answer once the dialog was accepted.
    env::FontRequest request() const { return m_answer; }

    // The controls, for the dialog's tests.
    QLineEdit* familyEdit() const { return m_familyEdit; }
    QListWidget* familyList() const { return m_families; }
    QListWidget* styleList() const { return m_styles; }
    QComboBox* sizeBox() const { return m_size; }
    QPushButton* textColorButton() const { return m_textColor; }
    QPushButton* textColorNoneButton() const { return m_textColorNone; }
    QPushButton* backgroundButton() const { return m_background; }
    QPushButton* backgroundNoneButton() const { return m_backgroundNone; }
    QCheckBox* underlineBox() const { return m_underline; }
    QCheckBox* strikeOutBox() const { return m_strikeOut; }
    QLabel* preview() const { return m_preview; }

private:
    void showForm(const FontForm& form);
    void filterFamilies(const QString& text);
    // `offered` is what the colour dialog opens on while there is no colour.
    void chooseColor(QColor& color, const QColor& offered, const QString& title);
    void showColors();
    void updatePreview();
    void confirm();

    QLineEdit* m_familyEdit = nullptr;
    QListWidget* m_families = nullptr;
    QListWidget* m_styles = nullptr;
    QComboBox* m_size = nullptr;
    QPushButton* m_textColor = nullptr;
    QPushButton* m_textColorNone = nullptr;
    QPushButton* m_background = nullptr;
    QPushButton* m_backgroundNone = nullptr;
    QCheckBox* m_underline = nullptr;
    QCheckBox* m_strikeOut = nullptr;
    QLabel* m_preview = nullptr;
    QColor m_textColorValue;
    QColor m_backgroundValue;
    QString m_initialFamily; // kept when the family box is emptied
    env::FontRequest m_answer;
};

} // namespace dialogs
