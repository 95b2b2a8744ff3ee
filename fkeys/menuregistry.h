#pragma once
// Keeps the host form's menu items, each registered under its menu array name
// and index, so that menu codes can be resolved to the actions they name.

#include "fkeys/menucode.h"

#include <QHash>
#include <QPointer>
#include <QString>

class QAction;

namespace fkeys {

class MenuRegistry {
public:
    // Registers `action` as item `index` of the array `arrayName` ("mnFile", 1);
    // a later registration under the same place replaces the earlier one.
    void add(const QString& arrayName, int index, QAction* action);
    // The action registered at that place, or nullptr (also after it was deleted).
    QAction* find(const QString& arrayName, int index) const;
    // The menu item a code names: nullptr for placeholder groups, missing
    // arrays or indexes, and separators.
    QAction* item(const MenuCode& code) const;

private:
    QHash<QString, QHash<int, QPointer<QAction>>> m_arrays;
};

} // namespace fkeys
