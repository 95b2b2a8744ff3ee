#include "bars/formatbar.h"

#include "bars/colorpicker.h"

#include <QToolButton>

namespace bars {

FormatBar::FormatBar(QWidget* parent)
    : QToolBar(parent)
    , m_text(new ColorPicker(ColorTarget::Text, QStringLiteral("imFcr"), QStringLiteral("cmFcr"), this))
    , m_background(new ColorPicker(ColorTarget::Background, QStringLiteral("imBcr"), QStringLiteral("cmBcr"), this))
    , m_painter(new QToolButton(this))
{
    setObjectName(QStringLiteral("frFmt"));
    setWindowTitle(QStringLiteral("文字色指定"));
    m_painter->setObjectName(QStringLiteral("cmTfm"));
    m_painter->setText(QStringLiteral("書式貼付"));
    m_painter->setToolTip(QStringLiteral("書式のｺﾋﾟｰで写した書式を貼り付けます"));
    addWidget(m_text);
    addSeparator();
    addWidget(m_background);
    addSeparator();
    addWidget(m_painter);
    connect(m_text, &ColorPicker::colorPicked, this, &FormatBar::textColorPicked);
    connect(m_background, &ColorPicker::colorPicked, this, &FormatBar::backgroundColorPicked);
    connect(m_painter, &QToolButton::clicked, this, &FormatBar::painterPressed);
}

void FormatBar::showKeptFormat(const QFont& font, const QColor& text, const QColor& background)
{
    QFont face = font;
    face.setPointSizeF(QToolButton().font().pointSizeF()); // the face keeps the bar's height
    m_painter->setFont(face);
    QPalette palette = m_painter->palette();
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Button, background);
    m_painter->setPalette(palette);
}

} // namespace bars
