#pragma once
// The main window's menu bar as data: every menu array with its items'
// fixed indexes, captions, shortcuts and initial states.

#include <QKeySequence>
#include <QList>
#include <QString>

namespace app {

struct MenuItemSpec {
    int index = 0;
    QString caption;            // "-" for a separator
    QKeySequence shortcut;
    bool enabled = true;
    bool hidden = false;
    QString submenu;            // array name of the sub-menu this item opens, if any

    bool isSeparator() const { return caption == QLatin1String("-"); }
};

struct MenuSpec {
    QString array;              // "mnFile", "mnOpnFd", ...
    QString caption;            // top-level caption; empty for sub-menus
    int topIndex = -1;          // index in the menu bar (mnJb), -1 for sub-menus
    QList<MenuItemSpec> items;
};

// All menus, the top-level ones in menu-bar order, then the sub-menus.
const QList<MenuSpec>& mainMenus();
// The menu array called `array`, or null.
const MenuSpec* findMenu(const QString& array);
// The caption of item `index` of `array`, or "" when there is none.
QString menuCaption(const QString& array, int index);
// The routing's menu group code of `array` ("mnFile" 2, ...), -1 for menus
// that are not routed by group.
int menuGroupOf(const QString& array);

} // namespace app
