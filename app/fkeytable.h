#pragma once
// The main window's function keys: which menu item each key stands for, with
// its caption and tool tip.

#include <QKeySequence>
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

// The key a key name stands for: "F8" is F8, "C12" is Ctrl+F12.
QKeySequence keySequenceOf(const QString& keyName);

// The keys menu item (group, index) answers to, its own key being `own`.
// With the key strip shown a function key does what the strip shows: the
// item gives up a function key the strip uses and takes the strip's key for
// itself (after its own, so that Ctrl+S stays the one the menu shows).
// With the strip hidden the item keeps its own key.
QList<QKeySequence> menuItemKeys(int group, int index, const QKeySequence& own, bool stripShown);

// Starts the bar on `host` with the full key groups and binds every row.
void SetFkeys(fkeys::uFky& bar, fkeys::MenuHost* host);

} // namespace app
