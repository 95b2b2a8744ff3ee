#pragma once
// Turns a menu choice (menu group and index) into an editor job, the one way
// menus and function keys reach the editor.

#include <QString>
#include <QVariant>

namespace app {

// Menu group codes of the routing.
enum MenuGroup : int {
    TableGroup = 0,
    FileGroup = 2,
    EditGroup = 3,
    FormatGroup = 5,
    InsertGroup = 6,
    DisplayGroup = 12,
    SettingsGroup = 15,
};

// What the routing needs of the main window.
class MenuRouterHost {
public:
    virtual ~MenuRouterHost() = default;
    virtual void rtAct(int job, const QVariant& argument) = 0;
    // Shows the tree's highlighted folder in the file manager.
    virtual void exploreHighlightedFolder() = 0;
    virtual void SaveScreen() = 0;
    // Toggles the display menu's check item `index` (0 tree, 1 function keys)
    // and shows or hides its pane.
    virtual void toggleDisplayItem(int index) = 0;
    virtual void refreshTree() = 0;
};

// The menu text a caption stands for: cut before its first "(", trailing blanks dropped.
QString commandText(const QString& caption);
// The job of a command text; 0 for a text the table does not know.
int jobForText(const QString& text, int menuIndex);

// Runs menu item `iNdx` of group `iMenu`; `sRet` names the table sub-menu
// ("表挿入", "表削除", "表選択", "表属性") for group 0.
void fnMenu(MenuRouterHost& host, int iMenu, int iNdx, const QString& sRet = {});

} // namespace app
