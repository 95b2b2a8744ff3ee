#include "fkeys/menuregistry.h"

#include <QAction>

namespace fkeys {

void MenuRegistry::add(const QString& arrayName, int index, QAction* action)
{
    m_arrays[arrayName].insert(index, action);
}

QAction* MenuRegistry::find(const QString& arrayName, int index) const
{
    const auto array = m_arrays.constFind(arrayName);
    if (array == m_arrays.constEnd())
        return nullptr;
    return array->value(index).data();
}

QAction* MenuRegistry::item(const MenuCode& code) const
{
    const QString arrayName = menuArrayName(code.group);
    if (arrayName.isEmpty())
        return nullptr;
    QAction* action = find(arrayName, code.index);
    if (!action || action->isSeparator() || action->text() == u"-")
        return nullptr;
    return action;
}

} // namespace fkeys
