#include "fkeys/parentindex.h"

#include "fkeys/keybindings.h"
#include "fkeys/menustructure.h"

namespace fkeys {

void ParentIndex::build(const QString& structure, const KeyBindings& bindings)
{
    m_keys.clear();
    for (const MenuParent& parent : parseMenuStructure(structure)) {
        const auto parentCode = MenuCode::fromText(parent.code);
        if (!parentCode)
            continue;
        QStringList keys;
        for (const QString& child : parent.descendants)
            if (const auto childCode = MenuCode::fromText(child))
                keys << bindings.keysBoundTo(*childCode);
        if (keys.isEmpty())
            continue;
        // A code may head more than one group; its keys are the union.
        QStringList& known = m_keys[*parentCode];
        for (const QString& key : keys)
            if (!known.contains(key))
                known << key;
    }
}

} // namespace fkeys
