#include "bars/statusbar.h"

#include <QLabel>

namespace bars {

QString placeText(const CaretPlace& place)
{
    QString text;
    if (place.page > 0)
        text = QStringLiteral("ﾍﾟｰｼﾞ %1　").arg(place.page);
    return text + QStringLiteral("行 %1　列 %2").arg(place.line).arg(place.column);
}

StatusBar::StatusBar(QWidget* parent)
    : QToolBar(parent)
    , m_place(new QLabel(this))
    , m_style(new QLabel(this))
{
    setObjectName(QStringLiteral("vStatus"));
    setWindowTitle(QStringLiteral("ｽﾃｰﾀｽﾊﾞｰ"));
    m_place->setObjectName(QStringLiteral("pnPlace"));
    m_style->setObjectName(QStringLiteral("pnStatus"));
    for (QLabel* label : {m_place, m_style}) {
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
    }
    addWidget(m_place);
    addWidget(m_style);
    showPlace({});
}

void StatusBar::showPlace(const CaretPlace& place)
{
    m_place->setText(placeText(place));
}

} // namespace bars
