#include "app/mainmenubar.h"

#include "app/fkeytable.h"
#include "app/menutable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace app {

MainMenuBar::MainMenuBar(QMenuBar* bar) : QObject(bar)
{
    for (const MenuSpec& spec : mainMenus()) {
        if (spec.topIndex < 0)
            continue;
        QMenu* menu = buildMenu(spec, bar);
        menu->setTitle(spec.caption);
        bar->addMenu(menu);
        m_registry.add(QStringLiteral("mnJb"), spec.topIndex, menu->menuAction());
        const int top = spec.topIndex;
        connect(menu, &QMenu::aboutToShow, this, [this, top] { emit topMenuOpening(top); });
    }
    // The display menu mirrors the visibility of the panes.
    for (int i : {0, 1})
        action(QStringLiteral("mnDisp"), i)->setCheckable(true);
}

QMenu* MainMenuBar::buildMenu(const MenuSpec& spec, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    for (const MenuItemSpec& item : spec.items) {
        QAction* action = nullptr;
        if (item.isSeparator()) {
            action = menu->addSeparator();
        } else if (!item.submenu.isEmpty()) {
            QMenu* sub = buildMenu(*findMenu(item.submenu), menu);
            sub->setTitle(item.caption);
            action = menu->addMenu(sub);
        } else {
            action = menu->addAction(item.caption);
            action->setShortcut(item.shortcut);
            const QString array = spec.array;
            const int index = item.index;
            connect(action, &QAction::triggered, this, [this, array, index] { emit itemChosen(array, index); });
        }
        action->setEnabled(item.enabled);
        action->setVisible(!item.hidden);
        m_registry.add(spec.array, item.index, action);
    }
    return menu;
}

void MainMenuBar::useKeyStripKeys(bool stripShown)
{
    for (const MenuSpec& spec : mainMenus())
        for (const MenuItemSpec& item : spec.items)
            if (!item.isSeparator() && item.submenu.isEmpty())
                action(spec.array, item.index)
                    ->setShortcuts(menuItemKeys(menuGroupOf(spec.array), item.index, item.shortcut, stripShown));
}

void MainMenuBar::apply(const QList<ItemState>& states)
{
    for (const ItemState& s : states)
        if (QAction* a = action(s.array, s.index))
            a->setEnabled(s.enabled);
}

} // namespace app
