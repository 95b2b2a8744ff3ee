#pragma once
// The strip of function keys: twelve keys in each of two groups ("F" plain,
// "C" with Ctrl held), each with a caption, a tool tip and an enabled state,
// drawn in the groups its layout string asks for ("4|4|4" like a keyboard's
// function row). It shows one group at a time and reports presses.

#include <QString>
#include <QWidget>
#include <array>
#include <optional>

class QAbstractButton;
class QHBoxLayout;
class QToolButton;

namespace fkeys {

enum class KeyGroup { F = 1, C = 2 };

struct KeyId {
    KeyGroup group = KeyGroup::F;
    int number = 1;   // 1..12
};

class KeyStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kKeysPerGroup = 12;

    explicit KeyStrip(QWidget* parent = nullptr);

    // "F2" / "C12" -> key; nullopt for names the strip does not know ("", "F0", "F02", "f2").
    static std::optional<KeyId> keyOf(const QString& name);
    static QString nameOf(const KeyId& key);

    void setCaption(const KeyId& key, const QString& caption);
    QString caption(const KeyId& key) const { return state(key).caption; }
    void setKeyToolTip(const KeyId& key, const QString& toolTip);
    QString keyToolTip(const KeyId& key) const { return state(key).toolTip; }
    void setKeyEnabled(const KeyId& key, bool enabled);
    bool isKeyEnabled(const KeyId& key) const { return state(key).enabled; }

    KeyGroup group() const { return m_group; }
    void setGroup(KeyGroup group);

    // Group sizes separated by "|"; anything unreadable draws one row of twelve.
    QString layoutString() const { return m_layoutString; }
    void setLayoutString(const QString& layout);

signals:
    void keyPressed(const fkeys::KeyId& key);
    void groupChanged(fkeys::KeyGroup group);

private:
    struct KeyState {
        QString caption;
        QString toolTip;
        bool enabled = true;
    };

    KeyState& state(const KeyId& key);
    const KeyState& state(const KeyId& key) const;
    void showKey(int number);
    void showGroup();
    void arrangeKeys();

    std::array<std::array<KeyState, kKeysPerGroup>, 2> m_states;
    std::array<QToolButton*, kKeysPerGroup> m_buttons{};
    QToolButton* m_ctrl = nullptr;
    QHBoxLayout* m_row = nullptr;
    KeyGroup m_group = KeyGroup::F;
    QString m_layoutString;
};

} // namespace fkeys
