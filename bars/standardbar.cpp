#include "bars/standardbar.h"

#include <QAction>
#include <QIcon>

namespace bars {

QIcon themedIcon(const QString& name)
{
    // Desktops without a theme of their own still have the symbolic icons.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == u"hicolor")
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    QIcon icon = QIcon::fromTheme(name);
    return icon.isNull() ? QIcon::fromTheme(name + QStringLiteral("-symbolic")) : icon;
}

StandardBar::StandardBar(QWidget* parent)
    : QToolBar(parent)
{
    setObjectName(QStringLiteral("tlBar"));
    setWindowTitle(QStringLiteral("ﾂｰﾙﾊﾞｰ"));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const StandardButtonInfo& info : standardButtons()) {
        const QIcon icon = themedIcon(info.icon);
        QAction* action = addAction(icon, icon.isNull() ? info.caption : info.tip);
        action->setObjectName(info.key);
        action->setToolTip(info.tip);
        if (icon.isNull())
            action->setIconText(info.caption);
        const int job = info.job;
        connect(action, &QAction::triggered, this, [this, job] { emit jobRequested(job); });
        m_actions[info.button] = action;
        if (info.groupEnd)
            addSeparator();
    }
}

void StandardBar::refresh(const EditorFacts& facts)
{
    for (const StandardButtonInfo& info : standardButtons()) {
        const ButtonState state = standardButtonState(info.button, facts);
        const auto known = m_states.find(info.button);
        if (known != m_states.end() && known->second == state)
            continue;
        m_states[info.button] = state;
        QAction* action = m_actions.at(info.button);
        action->setEnabled(state.enabled);
        action->setVisible(state.shown);
    }
}

} // namespace bars
