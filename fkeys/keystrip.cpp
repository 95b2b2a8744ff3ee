#include "fkeys/keystrip.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace fkeys {

namespace {

QChar letterOf(KeyGroup group) { return group == KeyGroup::C ? u'C' : u'F'; }

size_t slotOf(KeyGroup group) { return group == KeyGroup::C ? 1 : 0; }

// "4|4|4" -> {4, 4, 4}; keys left over form a last group. Unreadable text or
// more than twelve keys gives one group of twelve.
QList<int> groupSizes(const QString& layout)
{
    QList<int> sizes;
    int total = 0;
    for (const QString& part : layout.split(u'|', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (!ok || n <= 0 || total + n > KeyStrip::kKeysPerGroup)
            return {KeyStrip::kKeysPerGroup};
        sizes << n;
        total += n;
    }
    if (total < KeyStrip::kKeysPerGroup)
        sizes << KeyStrip::kKeysPerGroup - total;
    return sizes;
}

} // namespace

KeyStrip::KeyStrip(QWidget* parent) : QWidget(parent)
{
    m_row = new QHBoxLayout(this);
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(1);

    m_ctrl = new QToolButton(this);
    m_ctrl->setObjectName(QStringLiteral("ctrlToggle"));
    m_ctrl->setText(QStringLiteral("Ctrl"));
    m_ctrl->setCheckable(true);
    m_ctrl->setFocusPolicy(Qt::NoFocus);
    m_ctrl->setToolTip(QStringLiteral("Ctrl を押した時のｷｰを表示します"));
    m_ctrl->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    connect(m_ctrl, &QToolButton::toggled, this,
            [this](bool on) { setGroup(on ? KeyGroup::C : KeyGroup::F); });

    for (int number = 1; number <= kKeysPerGroup; ++number) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("key%1").arg(number));
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &QToolButton::clicked, this,
                [this, number] { emit keyPressed({m_group, number}); });
        m_buttons[static_cast<size_t>(number - 1)] = button;
    }
    arrangeKeys();
    showGroup();
}

std::optional<KeyId> KeyStrip::keyOf(const QString& name)
{
    if (name.size() < 2)
        return std::nullopt;
    const QChar letter = name.front();
    if (letter != u'F' && letter != u'C')
        return std::nullopt;
    const QStringView digits = QStringView(name).mid(1);
    bool ok = false;
    const int number = digits.toInt(&ok);
    if (!ok || number < 1 || number > kKeysPerGroup || QString::number(number) != digits)
        return std::nullopt;
    return KeyId{letter == u'C' ? KeyGroup::C : KeyGroup::F, number};
}

QString KeyStrip::nameOf(const KeyId& key)
{
    return letterOf(key.group) + QString::number(key.number);
}

KeyStrip::KeyState& KeyStrip::state(const KeyId& key)
{
    return m_states[slotOf(key.group)][static_cast<size_t>(key.number - 1)];
}

const KeyStrip::KeyState& KeyStrip::state(const KeyId& key) const
{
    return m_states[slotOf(key.group)][static_cast<size_t>(key.number - 1)];
}

void KeyStrip::setCaption(const KeyId& key, const QString& caption)
{
    state(key).caption = caption;
    if (key.group == m_group)
        showKey(key.number);
}

void KeyStrip::setKeyToolTip(const KeyId& key, const QString& toolTip)
{
    state(key).toolTip = toolTip;
    if (key.group == m_group)
        showKey(key.number);
}

void KeyStrip::setKeyEnabled(const KeyId& key, bool enabled)
{
    state(key).enabled = enabled;
    if (key.group == m_group)
        showKey(key.number);
}

void KeyStrip::setGroup(KeyGroup group)
{
    if (group == m_group)
        return;
    m_group = group;
    showGroup();
    emit groupChanged(group);
}

void KeyStrip::setLayoutString(const QString& layout)
{
    m_layoutString = layout;
    arrangeKeys();
}

// A key without a caption still shows its name, so the row keeps its shape.
void KeyStrip::showKey(int number)
{
    const KeyId key{m_group, number};
    const KeyState& s = state(key);
    QToolButton* button = m_buttons[static_cast<size_t>(number - 1)];
    button->setText(s.caption.isEmpty() ? nameOf(key) : s.caption);
    button->setToolTip(s.toolTip);
    button->setEnabled(s.enabled);
}

void KeyStrip::showGroup()
{
    for (int number = 1; number <= kKeysPerGroup; ++number)
        showKey(number);
    const QSignalBlocker quiet(m_ctrl);
    m_ctrl->setChecked(m_group == KeyGroup::C);
}

void KeyStrip::arrangeKeys()
{
    while (m_row->count() > 0)
        delete m_row->takeAt(0);
    m_row->addWidget(m_ctrl);
    const int gap = fontMetrics().averageCharWidth() * 2;
    size_t next = 0;
    for (const int size : groupSizes(m_layoutString)) {
        m_row->addSpacing(gap);
        for (int i = 0; i < size; ++i)
            m_row->addWidget(m_buttons[next++]);
    }
}

} // namespace fkeys
