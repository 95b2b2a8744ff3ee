#include "formats/docx/docxtablelook.h"

#include "engine/hostunits.h"
#include "formats/word/wordmapping.h"
#include "formats/docx/xmlnames.h"

#include <QXmlStreamReader>
#include <algorithm>

namespace formats::docx {

namespace {

// A line's width: w:sz in eighths of a point.
double lineWidth(const QXmlStreamReader& reader)
{
    const QString kind = attribute(reader, u"val");
    if (kind.isEmpty() || kind == u"none" || kind == u"nil")
        return 0;
    const double eighths = std::clamp(attribute(reader, u"sz").toDouble(), 2.0, 96.0);
    return std::max(1.0, engine::twipsToDocument(eighths / 8 * 20));
}

// w:tblCellMar: the left (or start) margin, when given in twips.
std::optional<double> readCellMargin(QXmlStreamReader& reader)
{
    std::optional<double> margin;
    while (reader.readNextStartElement()) {
        if ((reader.name() == u"left" || reader.name() == u"start") && attribute(reader, u"type") != u"pct")
            margin = engine::twipsToDocument(std::clamp(attribute(reader, u"w").toDouble(), 0.0, 1440.0));
        reader.skipCurrentElement();
    }
    return margin;
}

} // namespace

void TableLook::merge(const TableLook& over)
{
    if (over.border)
        border = over.border;
    if (over.borderColour)
        borderColour = over.borderColour;
    if (over.shading)
        shading = over.shading;
    if (over.alignment)
        alignment = over.alignment;
    if (over.cellPadding)
        cellPadding = over.cellPadding;
}

std::optional<double> readBorders(QXmlStreamReader& reader, std::optional<QColor>* colour)
{
    std::optional<double> widest;
    while (reader.readNextStartElement()) {
        const double width = lineWidth(reader);
        widest = std::max(widest.value_or(0.0), width);
        if (width > 0 && colour && !*colour)
            *colour = word::colorOf(attribute(reader, u"color"));
        reader.skipCurrentElement();
    }
    return widest;
}

TableLook readTableProperties(QXmlStreamReader& reader, QString* styleId)
{
    TableLook look;
    while (reader.readNextStartElement()) {
        const QStringView name = reader.name();
        if (name == u"tblBorders") {
            look.border = readBorders(reader, &look.borderColour);
            continue;
        }
        if (name == u"tblCellMar") {
            look.cellPadding = readCellMargin(reader);
            continue;
        }
        if (name == u"tblStyle" && styleId)
            *styleId = attribute(reader, u"val");
        else if (name == u"jc")
            look.alignment = word::alignmentOf(attribute(reader, u"val"));
        else if (name == u"shd")
            look.shading = word::colorOf(attribute(reader, u"fill"));
        reader.skipCurrentElement();
    }
    return look;
}

} // namespace formats::docx
