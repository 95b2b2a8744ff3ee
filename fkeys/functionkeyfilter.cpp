#include "fkeys/functionkeyfilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace fkeys {

FunctionKeyFilter::FunctionKeyFilter(QWidget* owner, Claim claims)
    : QObject(owner), m_owner(owner), m_claims(std::move(claims))
{
    qApp->installEventFilter(this);
}

FunctionKeyFilter::~FunctionKeyFilter() { qApp->removeEventFilter(this); }

std::optional<KeyId> FunctionKeyFilter::keyOf(const QKeyEvent& event)
{
    const int key = event.key();
    if (key < Qt::Key_F1 || key > Qt::Key_F12)
        return std::nullopt;
    const int number = key - Qt::Key_F1 + 1;
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::NoModifier)
        return KeyId{KeyGroup::F, number};
    if (mods == Qt::ControlModifier)
        return KeyId{KeyGroup::C, number};
    return std::nullopt;
}

// Key events reach the window object and then the focus widget; only the
// widget's copy counts, so that a key is not taken twice.
bool FunctionKeyFilter::concernsOwner(QObject* watched) const
{
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return widget && m_owner->isVisible() && widget->window() == m_owner->window();
}

bool FunctionKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return concernsOwner(watched) && takeKey(static_cast<QKeyEvent*>(event));
    case QEvent::WindowDeactivate:
        if (concernsOwner(watched))
            emit ctrlHeld(false);
        return false;
    default:
        return false;
    }
}

bool FunctionKeyFilter::takeKey(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Control) {
        if (event->type() != QEvent::ShortcutOverride && !event->isAutoRepeat())
            emit ctrlHeld(event->type() == QEvent::KeyPress);
        return false;
    }
    const auto key = keyOf(*event);
    if (!key || !m_claims(*key))
        return false;
    if (event->type() == QEvent::ShortcutOverride)
        event->accept();   // a key press follows instead of the menu's shortcut
    else if (event->type() == QEvent::KeyPress && !event->isAutoRepeat())
        emit pressed(*key);
    return true;
}

} // namespace fkeys
