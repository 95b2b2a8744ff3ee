#include "picture/svgsize.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace picture {

namespace {

// Pixels at 96 dpi in one of each unit an SVG length may carry.
double pixelsPerUnit(QStringView unit)
{
    if (unit.isEmpty() || unit == u"px")
        return 1.0;
    if (unit == u"in")
        return 96.0;
    if (unit == u"cm")
        return 96.0 / 2.54;
    if (unit == u"mm")
        return 96.0 / 25.4;
    if (unit == u"pt")
        return 96.0 / 72.0;
    if (unit == u"pc")
        return 16.0;
    return 0.0; // a percentage or em: relative to something the picture does not have
}

// An absolute length in pixels; 0 when `text` is none.
double lengthInPixels(QStringView text)
{
    static const QRegularExpression length(QStringLiteral("^\\s*([0-9]*\\.?[0-9]+(?:[eE][-+]?[0-9]+)?)\\s*([a-z%]*)\\s*$"));
    const QRegularExpressionMatch match = length.match(text.toString());
    if (!match.hasMatch())
        return 0.0;
    return match.capturedView(1).toDouble() * pixelsPerUnit(match.capturedView(2));
}

// The viewBox's width and height; empty when it has none.
QSizeF viewBoxSize(QStringView text)
{
    static const QRegularExpression separator(QStringLiteral("[\\s,]+"));
    const QStringList parts = text.toString().split(separator, Qt::SkipEmptyParts);
    if (parts.size() != 4)
        return {};
    return QSizeF(parts[2].toDouble(), parts[3].toDouble());
}

} // namespace

QSizeF svgOwnSize(const QByteArray& svg)
{
    QXmlStreamReader xml(svg);
    while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::StartElement) {
    }
    if (!xml.isStartElement() || xml.name() != QLatin1String("svg"))
        return {};
    const QXmlStreamAttributes attributes = xml.attributes();
    const QSizeF box = viewBoxSize(attributes.value(QLatin1String("viewBox")));
    const double width = lengthInPixels(attributes.value(QLatin1String("width")));
    const double height = lengthInPixels(attributes.value(QLatin1String("height")));
    if (width > 0 && height > 0)
        return {width, height};
    if (box.isEmpty())
        return {};
    // One length given keeps the viewBox's proportions.
    if (width > 0)
        return {width, width * box.height() / box.width()};
    if (height > 0)
        return {height * box.width() / box.height(), height};
    return box;
}

} // namespace picture
