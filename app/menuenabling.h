#pragma once
// Which main-menu items are enabled, computed from the editor's answers each
// time a top menu opens.

#include <QList>
#include <QString>

namespace editor {
struct CaretState;
struct DocumentState;
struct EditMenuState;
struct TableMenuState;
}

namespace app {

struct ItemState {
    QString array;
    int index;
    bool enabled;
    friend bool operator==(const ItemState&, const ItemState&) = default;
};

QList<ItemState> fileMenuStates(const editor::DocumentState& s);
QList<ItemState> editMenuStates(const editor::EditMenuState& s);
// "元に戻す" and "やり直し" alone: kept current as the document changes, so that
// Ctrl+Z and Ctrl+Y work without the menu having been opened.
QList<ItemState> undoMenuStates(bool bUndo, bool bRedo);
QList<ItemState> insertMenuStates(const editor::CaretState& s);
// A sub-menu parent is enabled when any of its items is; "ﾌﾟﾛﾊﾟﾃｨ", whose
// items act on the table at the caret, when the caret is in a table.
QList<ItemState> tableMenuStates(const editor::TableMenuState& s);

} // namespace app
