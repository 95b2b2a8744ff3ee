#pragma once
// Reads a menu-structure string: list = item {"," item}; item = code ["(" list ")"].
// An item followed by a parenthesised list is a parent menu. A missing ")"
// closes at the end of the string; a stray ")" is ignored.

#include <QList>
#include <QString>
#include <QStringList>

namespace fkeys {

struct MenuParent {
    QString code;             // the parent's code as written
    QStringList descendants;  // every code nested below it, at any depth, in order
};

// Nesting deeper than this is flattened into the deepest parent, so that a
// hostile string cannot make the work grow without bound.
inline constexpr int kMaxMenuNesting = 64;

// The parents of `structure`, in the order their "(" appears.
QList<MenuParent> parseMenuStructure(const QString& structure);

} // namespace fkeys
