#include "bars/colorpicker.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace bars {

namespace {

constexpr int kSwatch = 16;

QColor qColor(int hostColor)
{
    return QColor(hostColor & 0xFF, (hostColor >> 8) & 0xFF, (hostColor >> 16) & 0xFF);
}

QIcon swatch(int hostColor)
{
    QPixmap pixmap(kSwatch, kSwatch);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x60, 0x60, 0x60));
    painter.setBrush(qColor(hostColor));
    painter.drawRect(1, 1, kSwatch - 3, kSwatch - 3);
    return QIcon(pixmap);
}

// The apply button: a letter over a bar of the colour it gives, like the
// colour buttons of other editors; grey while nothing is picked.
QIcon buttonFace(ColorTarget target, const PaletteEntry* entry)
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QColor colour = entry ? qColor(entry->color) : QColor(Qt::lightGray);
    if (target == ColorTarget::Background)
        painter.fillRect(QRect(2, 2, 16, 12), colour);
    painter.setPen(Qt::black);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(12);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 20, 15), Qt::AlignCenter, QStringLiteral("A"));
    painter.fillRect(QRect(2, 15, 16, 4), colour);
    painter.setPen(QColor(0x60, 0x60, 0x60));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(2, 15, 15, 3));
    return QIcon(pixmap);
}

} // namespace

ColorPicker::ColorPicker(ColorTarget target, const QString& pickerName, const QString& buttonName, QWidget* parent)
    : QWidget(parent)
    , m_target(target)
    , m_picker(new QComboBox(this))
    , m_apply(new QToolButton(this))
{
    m_picker->setObjectName(pickerName);
    m_apply->setObjectName(buttonName);
    m_picker->addItem(pickerTitle(target));
    for (const PaletteEntry& entry : bars::palette())
        m_picker->addItem(swatch(entry.color), entry.caption);
    m_picker->setToolTip(target == ColorTarget::Text ? QStringLiteral("文字色を選びます")
                                                     : QStringLiteral("文字の背景色を選びます"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_apply);
    layout->addWidget(m_picker);
    connect(m_picker, &QComboBox::activated, this, &ColorPicker::pick);
    connect(m_apply, &QToolButton::clicked, this, &ColorPicker::applyPicked);
    showPicked();
}

const PaletteEntry* ColorPicker::picked() const
{
    const int index = m_picker->currentIndex();
    return index >= 1 && index <= int(bars::palette().size()) ? &bars::palette()[index - 1] : nullptr;
}

void ColorPicker::pick(int)
{
    showPicked();
    applyPicked();
}

void ColorPicker::applyPicked()
{
    if (const PaletteEntry* entry = picked())
        emit colorPicked(entry->color);
}

void ColorPicker::showPicked()
{
    const PaletteEntry* entry = picked();
    m_apply->setEnabled(entry != nullptr);
    m_apply->setIcon(buttonFace(m_target, entry));
    m_apply->setToolTip(entry ? colorTip(m_target, *entry) : pickerTitle(m_target));
}

} // namespace bars
