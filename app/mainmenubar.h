#pragma once
// Builds the main window's menu bar from the menu table and reports choices
// by menu array name and index.

#include "app/menuenabling.h"
#include "fkeys/menuregistry.h"

#include <QHash>
#include <QObject>

class QAction;
class QMenu;
class QMenuBar;

namespace app {

struct MenuSpec;

class MainMenuBar : public QObject {
    Q_OBJECT
public:
    explicit MainMenuBar(QMenuBar* bar);

    // The item `index` of `array` (a sub-menu's parent item included), or null.
    QAction* action(const QString& array, int index) const { return m_registry.find(array, index); }
    const fkeys::MenuRegistry& registry() const { return m_registry; }
    void apply(const QList<ItemState>& states);
    // Gives the items the keys that run them while the key strip is shown or hidden.
    void useKeyStripKeys(bool stripShown);

signals:
    void itemChosen(const QString& array, int index);
    // A top menu (by its index in the menu bar) is about to open.
    void topMenuOpening(int topIndex);

private:
    QMenu* buildMenu(const MenuSpec& spec, QWidget* parent);

    fkeys::MenuRegistry m_registry;
};

} // namespace app
