#pragma once
// For each parent menu of a menu-structure string, the keys bound to any item
// nested below it, so that disabling a parent also disables those keys.

#include "fkeys/menucode.h"

#include <QHash>
#include <QStringList>

namespace fkeys {

class KeyBindings;

class ParentIndex {
public:
    // Rebuilds the index; an empty structure gives an empty index.
    void build(const QString& structure, const KeyBindings& bindings);
    QStringList keysUnder(const MenuCode& parent) const { return m_keys.value(parent); }
    bool isEmpty() const { return m_keys.isEmpty(); }
    void clear() { m_keys.clear(); }

private:
    QHash<MenuCode, QStringList> m_keys;
};

} // namespace fkeys
