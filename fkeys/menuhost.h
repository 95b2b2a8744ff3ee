#pragma once
// What the function-key bar needs of the form it sits on: the form's name (to
// find its menu structure), its menu items, and its menu routing.

#include <QString>

namespace fkeys {

class MenuRegistry;

class MenuHost {
public:
    virtual ~MenuHost() = default;

    // The form's name, the key of its menu structure string ("fmDoc").
    virtual QString formName() const = 0;
    // The form's menu items by menu array name and index.
    virtual const MenuRegistry& menuItems() const = 0;
    // Runs menu item `iNdx` of menu group `iMenu`, exactly as choosing it does.
    virtual void fnMenu(int iMenu, int iNdx) = 0;
};

} // namespace fkeys
