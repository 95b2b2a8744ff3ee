#include "bars/toolband.h"

#include "bars/buttonbar.h"
#include "bars/formatbar.h"
#include "bars/ruler.h"
#include "bars/standardbar.h"
#include "bars/statusbar.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace bars {

ToolBand::ToolBand(QWidget* parent)
    : QWidget(parent)
    , m_standard(new StandardBar(this))
    , m_format(new FormatBar(this))
    , m_buttons(new ButtonBar(this))
    , m_status(new StatusBar(this))
    , m_ruler(new Ruler(this))
    , m_rows(new QVBoxLayout)
{
    setObjectName(QStringLiteral("clBar"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(0);
    outer->addLayout(m_rows);
    outer->addWidget(m_ruler);
    for (QToolBar* toolBar : {static_cast<QToolBar*>(m_standard), static_cast<QToolBar*>(m_format),
                              static_cast<QToolBar*>(m_buttons), static_cast<QToolBar*>(m_status)}) {
        toolBar->setMovable(false);
        toolBar->setFloatable(false);
        toolBar->setContextMenuPolicy(Qt::NoContextMenu);
    }
    placeBars();
}

QWidget* ToolBand::bar(Bar which) const
{
    switch (which) {
    case Bar::Standard: return m_standard;
    case Bar::Format: return m_format;
    case Bar::Buttons: return m_buttons;
    case Bar::Status: return m_status;
    }
    return nullptr;
}

void ToolBand::arrange(const BarLayout& layout)
{
    m_layout = layout;
    placeBars();
}

bool ToolBand::showOrHide(int command)
{
    if (!m_layout.showOrHide(command))
        return false;
    placeBars();
    return true;
}

void ToolBand::redraw()
{
    update();
    for (QWidget* child : findChildren<QWidget*>())
        child->update();
}

// Each band starting a row begins a new line of bars; hidden bars take no room.
void ToolBand::placeBars()
{
    while (QLayoutItem* row = m_rows->takeAt(0)) {
        while (row->layout() && row->layout()->count() > 0)
            delete row->layout()->takeAt(0);
        delete row;
    }
    QHBoxLayout* row = nullptr;
    for (const Band& band : m_layout.bands()) {
        QWidget* widget = bar(band.bar);
        widget->setVisible(band.shown);
        if (!row || band.newRow) {
            if (row)
                row->addStretch(1);
            row = new QHBoxLayout;
            row->setSpacing(2);
            m_rows->addLayout(row);
        }
        row->addWidget(widget);
    }
    if (row)
        row->addStretch(1);
    m_ruler->setVisible(m_layout.rulerShown());
}

void ToolBand::contextMenuEvent(QContextMenuEvent* event)
{
    emit menuRequested(event->globalPos());
}

} // namespace bars
