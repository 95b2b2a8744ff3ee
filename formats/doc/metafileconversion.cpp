#include "formats/doc/metafileconversion.h"

#include "formats/doc/libreofficeconverter.h"

#include <QRectF>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace formats::doc {

namespace {

// LibreOffice's import filter for each metafile type.
QString importFilter(const QString& type)
{
    if (type == u"emf")
        return QStringLiteral("EMF - MS Windows Metafile");
    if (type == u"wmf")
        return QStringLiteral("WMF - MS Windows Metafile");
    return {};
}

// The box Draw gives the picture on its page, in the page's hundredths of a
// millimetre: the first shape's bounding box.
QRectF pictureBox(const QByteArray& svg)
{
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"rect")
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (attributes.value(QLatin1String("class")) != u"BoundingBox")
            continue;
        return QRectF(attributes.value(QLatin1String("x")).toDouble(), attributes.value(QLatin1String("y")).toDouble(),
                      attributes.value(QLatin1String("width")).toDouble(),
                      attributes.value(QLatin1String("height")).toDouble());
    }
    return {};
}

// `svg` with its root element's size and viewBox set to `box`.
QByteArray croppedTo(const QByteArray& svg, const QRectF& box)
{
    const qsizetype start = svg.indexOf("<svg");
    const qsizetype end = start < 0 ? -1 : svg.indexOf('>', start);
    if (end < 0)
        return {};
    QString root = QString::fromUtf8(svg.mid(start, end - start));
    const auto set = [&root](const QString& name, const QString& value) {
        const QRegularExpression attribute(QStringLiteral("(\\s)%1=\"[^\"]*\"").arg(name));
        root.replace(attribute, QStringLiteral("\\1%1=\"%2\"").arg(name, value));
    };
    const auto number = [](double value) { return QString::number(value, 'g', 10); };
    set(QStringLiteral("width"), number(box.width() / 100.0) + QStringLiteral("mm"));
    set(QStringLiteral("height"), number(box.height() / 100.0) + QStringLiteral("mm"));
    set(QStringLiteral("viewBox"), QStringList{number(box.x()), number(box.y()), number(box.width()), number(box.height())}.join(u' '));
    return svg.left(start) + root.toUtf8() + svg.mid(end);
}

} // namespace

QByteArray metafileToSvg(const QByteArray& bytes, const QString& type)
{
    const QString filter = importFilter(type);
    if (filter.isEmpty())
        return {};
    const Conversion svg = LibreOfficeConverter().convert(bytes, type, filter, QStringLiteral("svg"),
                                                          QStringLiteral("draw_svg_Export"));
    if (!svg.ok())
        return {};
    const QRectF box = pictureBox(svg.bytes);
    return box.isEmpty() ? QByteArray() : croppedTo(svg.bytes, box);
}

} // namespace formats::doc
