#pragma once
// A menu code names one menu item of a host form by two base-36 digits: the
// menu group (which menu array) and the item's index in that array.

#include <QHashFunctions>
#include <QString>
#include <QStringView>
#include <optional>

namespace fkeys {

struct MenuCode {
    int group = 0;
    int index = 0;

    // "1A" -> {1, 10}. Exactly two characters, each "0"-"9" or "A"-"Z".
    static std::optional<MenuCode> fromText(QStringView text);
    // {1, 10} -> "1A"; "" when either number lies outside 0..35.
    QString text() const;

    friend bool operator==(const MenuCode&, const MenuCode&) = default;
};

inline size_t qHash(const MenuCode& code, size_t seed = 0)
{
    return ::qHash(code.group * 36 + code.index, seed);
}

// Name of the host's menu array for a group ("mnFile" for 2); "" for group 0
// and groups above 16, which are placeholders and name no menu.
QString menuArrayName(int group);

} // namespace fkeys
