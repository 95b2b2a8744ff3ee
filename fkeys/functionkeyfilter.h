#pragma once
// Watches the keyboard of the window a widget sits in while that widget is
// shown: F1–F12 and Ctrl+F1–F12 that the owner claims are taken before the
// window's menu shortcuts see them, so the key does what the strip shows.
// Also reports Ctrl being held, so the strip can show the Ctrl group.

#include "fkeys/keystrip.h"

#include <QObject>
#include <functional>
#include <optional>

class QKeyEvent;

namespace fkeys {

class FunctionKeyFilter : public QObject {
    Q_OBJECT
public:
    using Claim = std::function<bool(const KeyId&)>;

    // Watches the application's events for `owner`'s window; `claims` says
    // which keys the owner takes.
    FunctionKeyFilter(QWidget* owner, Claim claims);
    ~FunctionKeyFilter() override;

    // F5 -> F5, Ctrl+F5 -> C5; any other key or modifier mix -> nullopt.
    static std::optional<KeyId> keyOf(const QKeyEvent& event);

signals:
    void pressed(const fkeys::KeyId& key);
    void ctrlHeld(bool held);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool concernsOwner(QObject* watched) const;
    bool takeKey(QKeyEvent* event);

    QWidget* m_owner;
    Claim m_claims;
};

} // namespace fkeys
