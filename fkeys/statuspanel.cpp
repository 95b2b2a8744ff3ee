#include "fkeys/statuspanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <array>

namespace fkeys {

namespace {

constexpr std::array<quint32, StatusPanel::kIconCount> kColors = {0x808000, 0x0000FF, 0xFF0000, 0};

constexpr std::array<QStyle::StandardPixmap, StatusPanel::kIconCount> kPictures = {
    QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxCritical,
    QStyle::SP_MessageBoxQuestion, QStyle::SP_MessageBoxWarning};

QColor fromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace

StatusPanel::StatusPanel(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 2, 0);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("panelIcon"));
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("panelText"));
    m_text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(m_picture);
    row->addWidget(m_text, 1);
    showIcon();
}

quint32 StatusPanel::colorOf(int icon)
{
    return icon >= 0 && icon < kIconCount ? kColors[static_cast<size_t>(icon)] : kColors[0];
}

void StatusPanel::setIcon(int icon)
{
    if (icon < 0 || icon >= kIconCount || icon == m_icon)
        return;
    m_icon = icon;
    showIcon();
}

void StatusPanel::setText(const QString& text) { m_text->setText(text); }

QString StatusPanel::text() const { return m_text->text(); }

void StatusPanel::showIcon()
{
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    m_picture->setPixmap(style()->standardIcon(kPictures[static_cast<size_t>(m_icon)], nullptr, this)
                             .pixmap(size, size));
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::WindowText, fromBgr(colorOf(m_icon)));
    m_text->setPalette(palette);
}

} // namespace fkeys
