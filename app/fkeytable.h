#pragma once
// The main window's function keys: which menu item each key stands for, with
// its caption and tool tip.

#include <QList>
#include <QString>

namespace fkeys {
class MenuHost;
class uFky;
}

namespace app {

struct FunctionKeyRow {
    QString key;       // "F2" .. "F12", "C1" .. "C12"
    int group;         // menu group code of the routing
    int index;         // menu index
    QString caption;
    QString toolTip;
};

const QList<FunctionKeyRow>& functionKeyRows();

// Starts the bar on `host` with the full key groups and binds every row.
void SetFkeys(fkeys::uFky& bar, fkeys::MenuHost* host);

} // namespace app
