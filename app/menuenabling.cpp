#include "app/menuenabling.h"

#include "editor/utxm.h"

namespace app {

namespace {
const QString kFile = QStringLiteral("mnFile");
const QString kEdit = QStringLiteral("mnEdit");
const QString kPaste = QStringLiteral("mnPast");
const QString kInsert = QStringLiteral("mnLocal");
const QString kTable = QStringLiteral("mnTbl");
const QString kTableInsert = QStringLiteral("mnTins");
const QString kTableDelete = QStringLiteral("mnTdel");
const QString kTableSelect = QStringLiteral("mnTslc");
} // namespace

QList<ItemState> fileMenuStates(const editor::DocumentState& s)
{
    return {{kFile, 1, s.bOvrw}, {kFile, 2, s.bExDoc}, {kFile, 4, s.bExDoc},
            {kFile, 6, s.bExDoc}, {kFile, 7, s.bExDoc}};
}

QList<ItemState> editMenuStates(const editor::EditMenuState& s)
{
    QList<ItemState> states = undoMenuStates(s.bUndo, s.bRedo);
    states << ItemState{kEdit, 3, s.bCopy} << ItemState{kEdit, 4, s.bCopy} << ItemState{kEdit, 5, s.bPaste};
    // The kinds follow the clipboard, and go out with the sub-menu when it
    // holds nothing to paste.
    states << ItemState{kPaste, 0, s.bPaste && s.bTx} << ItemState{kPaste, 1, s.bPaste && s.bTx}
           << ItemState{kPaste, 2, s.bPaste && (s.bPc || s.bMt || s.bLk)};
    for (int i : {8, 9, 11, 12})
        states << ItemState{kEdit, i, s.bExDoc};
    return states;
}

QList<ItemState> undoMenuStates(bool bUndo, bool bRedo)
{
    return {{kEdit, 0, bUndo}, {kEdit, 1, bRedo}};
}

QList<ItemState> insertMenuStates(const editor::CaretState& s)
{
    const bool free = !s.bInHd && !s.bInTf;
    QList<ItemState> states;
    for (int i : {1, 3, 4, 5, 7, 8, 10})
        states << ItemState{kInsert, i, free};
    return states;
}

QList<ItemState> tableMenuStates(const editor::TableMenuState& s)
{
    const bool canInsert = (s.bInsCL || s.bInsTb || s.bInsRw) && !s.caret.bInHd;
    return {
        {kTable, 0, canInsert},
        {kTableInsert, 0, s.bInsTb},
        {kTableInsert, 2, s.bInsCL},
        {kTableInsert, 3, s.bInsCL},
        {kTableInsert, 5, s.bInsRw},
        {kTableInsert, 6, s.bInsRw},
        {kTable, 1, s.bDelRw || s.bDelCL},
        {kTableDelete, 0, s.bDelRw},
        {kTableDelete, 1, s.bDelCL},
        {kTableDelete, 2, s.bDelRw},
        {kTable, 2, s.bSlcTb},
        {kTableSelect, 0, s.bSlcTb},
        {kTableSelect, 1, s.bSlcTb},
        {kTableSelect, 2, s.bSlcTb},
        {kTable, 4, s.bSlcTb},
    };
}

} // namespace app
