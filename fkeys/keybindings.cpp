#include "fkeys/keybindings.h"

namespace fkeys {

void KeyBindings::bind(const QString& key, const MenuCode& code)
{
    m_bindings.removeIf([&](const KeyBinding& b) { return b.key == key; });
    m_bindings.append({key, code});
}

std::optional<MenuCode> KeyBindings::codeOf(const QString& key) const
{
    for (const KeyBinding& b : m_bindings)
        if (b.key == key)
            return b.code;
    return std::nullopt;
}

QStringList KeyBindings::keysBoundTo(const MenuCode& code) const
{
    QStringList keys;
    for (const KeyBinding& b : m_bindings)
        if (b.code == code)
            keys << b.key;
    return keys;
}

} // namespace fkeys
