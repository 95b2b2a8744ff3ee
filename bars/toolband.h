#pragma once
// clBar: the band container above the text — the four bars in the order
// and rows the layout gives, shown or hidden, and the ruler below them.

#include "bars/barlayout.h"

#include <QWidget>

class QVBoxLayout;

namespace bars {

class ButtonBar;
class FormatBar;
class Ruler;
class StandardBar;
class StatusBar;

class ToolBand : public QWidget {
    Q_OBJECT
public:
    explicit ToolBand(QWidget* parent = nullptr);

    StandardBar* standardBar() const { return m_standard; }
    FormatBar* formatBar() const { return m_format; }
    ButtonBar* buttonBar() const { return m_buttons; }
    StatusBar* statusBar() const { return m_status; }
    Ruler* ruler() const { return m_ruler; }
    QWidget* bar(Bar which) const;

    const BarLayout& layoutState() const { return m_layout; }
    // Arranges the bars as `layout` says.
    void arrange(const BarLayout& layout);
    // The show/hide command; false for a number it does not know.
    bool showOrHide(int command);
    // Draws the band again.
    void redraw();

signals:
    // A right click on the band: the host offers its display menu there.
    void menuRequested(const QPoint& globalPosition);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void placeBars();

    StandardBar* m_standard;
    FormatBar* m_format;
    ButtonBar* m_buttons;
    StatusBar* m_status;
    Ruler* m_ruler;
    QVBoxLayout* m_rows;
    BarLayout m_layout;
};

} // namespace bars
