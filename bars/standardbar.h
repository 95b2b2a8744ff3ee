#pragma once
// tlBar: the standard bar — new, open, save, print, preview, the clipboard,
// undo, redo and find — each button sending its editor command.

#include "bars/standardbuttons.h"

#include <QToolBar>
#include <map>

class QAction;

namespace bars {

class StandardBar : public QToolBar {
    Q_OBJECT
public:
    explicit StandardBar(QWidget* parent = nullptr);

    // Enables, shows and hides the buttons; buttons whose state is the same
    // as at the last refresh are left alone.
    void refresh(const EditorFacts& facts);
    QAction* action(StandardButton button) const { return m_actions.at(button); }

signals:
    void jobRequested(int job);

private:
    std::map<StandardButton, QAction*> m_actions;
    std::map<StandardButton, ButtonState> m_states;
};

// The desktop's icon named `name`, or none.
QIcon themedIcon(const QString& name);

} // namespace bars
