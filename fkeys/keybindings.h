#pragma once
// Which function key stands for which menu item: each key name bound to at
// most one menu code, in the order the keys were bound.

#include "fkeys/menucode.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace fkeys {

struct KeyBinding {
    QString key;     // "F2", "C10"
    MenuCode code;
};

class KeyBindings {
public:
    // Binds `key` to `code`, dropping whatever the key was bound to before.
    void bind(const QString& key, const MenuCode& code);
    std::optional<MenuCode> codeOf(const QString& key) const;
    QStringList keysBoundTo(const MenuCode& code) const;
    const QList<KeyBinding>& all() const { return m_bindings; }
    void clear() { m_bindings.clear(); }

private:
    QList<KeyBinding> m_bindings;
};

} // namespace fkeys
