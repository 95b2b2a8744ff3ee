#pragma once
// frFmt: the format bar — the text colour picker, the background colour
// picker and the format painter, whose face shows the format it holds.

#include <QToolBar>

class QToolButton;

namespace bars {

class ColorPicker;

class FormatBar : public QToolBar {
    Q_OBJECT
public:
    explicit FormatBar(QWidget* parent = nullptr);

    ColorPicker* textPicker() const { return m_text; }
    ColorPicker* backgroundPicker() const { return m_background; }
    QToolButton* painterButton() const { return m_painter; }
    // Draws the painter's face in the format last copied.
    void showKeptFormat(const QFont& font, const QColor& text, const QColor& background);

signals:
    void textColorPicked(int color);
    void backgroundColorPicked(int color);
    void painterPressed();

private:
    ColorPicker* m_text;
    ColorPicker* m_background;
    QToolButton* m_painter;
};

} // namespace bars
