#pragma once
// One colour picker of the format bar: a list of the ten palette colours
// headed by its title, and the apply button beside it that gives the picked
// colour again. Picking a colour applies it at once.

#include "bars/palette.h"

#include <QWidget>

class QComboBox;
class QToolButton;

namespace bars {

class ColorPicker : public QWidget {
    Q_OBJECT
public:
    // `pickerName` and `buttonName` name the two controls ("imFcr", "cmFcr").
    ColorPicker(ColorTarget target, const QString& pickerName, const QString& buttonName,
                QWidget* parent = nullptr);

    QComboBox* picker() const { return m_picker; }
    QToolButton* applyButton() const { return m_apply; }
    // The entry picked, or null while the picker still shows its title.
    const PaletteEntry* picked() const;

signals:
    void colorPicked(int color);

private:
    void pick(int index);
    void applyPicked();
    void showPicked();

    ColorTarget m_target;
    QComboBox* m_picker;
    QToolButton* m_apply;
};

} // namespace bars
