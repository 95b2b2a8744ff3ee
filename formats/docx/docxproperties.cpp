#include "formats/docx/docxproperties.h"

#include "engine/hostunits.h"
#include "formats/word/wordmapping.h"
#include "formats/docx/xmlnames.h"

#include <QFont>
#include <QList>
#include <QTextOption>

namespace formats::docx {

namespace {

// Twips of a length attribute, in document units.
std::optional<double> documentLength(const QXmlStreamReader& reader, QStringView name)
{
    if (!hasAttribute(reader, name))
        return std::nullopt;
    const std::optional<double> twips = word::twipsOf(attribute(reader, name));
    return twips ? std::optional<double>(engine::twipsToDocument(*twips)) : std::nullopt;
}

QString value(const QXmlStreamReader& reader)
{
    return attribute(reader, u"val");
}

bool onOff(const QXmlStreamReader& reader)
{
    return word::isOn(value(reader));
}

void readFonts(const QXmlStreamReader& reader, QTextCharFormat& format)
{
    QString latin = attribute(reader, u"ascii");
    if (latin.isEmpty())
        latin = attribute(reader, u"hAnsi");
    const QString eastAsian = attribute(reader, u"eastAsia");
    QStringList families;
    for (const QString& family : {latin, eastAsian}) {
        if (!family.isEmpty() && !families.contains(family))
            families << family;
    }
    if (!families.isEmpty())
        format.setFontFamilies(families);
}

std::optional<QColor> shadingFill(const QXmlStreamReader& reader)
{
    return word::colorOf(attribute(reader, u"fill"));
}

void readRunProperty(const QXmlStreamReader& reader, QTextCharFormat& format, QString* styleId)
{
    const QStringView name = reader.name();
    if (name == u"rStyle" && styleId)
        *styleId = value(reader);
    else if (name == u"rFonts")
        readFonts(reader, format);
    else if (name == u"sz") {
        const double halfPoints = value(reader).toDouble();
        if (halfPoints >= 2 && halfPoints <= 3276)
            format.setFontPointSize(halfPoints / 2);
    } else if (name == u"b")
        format.setFontWeight(onOff(reader) ? QFont::Bold : QFont::Normal);
    else if (name == u"i")
        format.setFontItalic(onOff(reader));
    else if (name == u"u")
        format.setFontUnderline(value(reader) != u"none" && !value(reader).isEmpty());
    else if (name == u"strike" || name == u"dstrike")
        format.setFontStrikeOut(onOff(reader));
    else if (name == u"color") {
        if (const std::optional<QColor> colour = word::colorOf(value(reader)))
            format.setForeground(*colour);
    } else if (name == u"highlight") {
        if (const std::optional<QColor> colour = word::highlightColorOf(value(reader)))
            format.setBackground(*colour);
    } else if (name == u"shd" && !format.hasProperty(QTextFormat::BackgroundBrush)) {
        if (const std::optional<QColor> colour = shadingFill(reader))
            format.setBackground(*colour);
    } else if (name == u"vertAlign") {
        const QString v = value(reader);
        format.setVerticalAlignment(v == u"superscript" ? QTextCharFormat::AlignSuperScript
                                    : v == u"subscript" ? QTextCharFormat::AlignSubScript
                                                        : QTextCharFormat::AlignNormal);
    }
}

void readIndents(const QXmlStreamReader& reader, QTextBlockFormat& format)
{
    for (const QStringView left : {u"left", u"start"}) {
        if (const auto length = documentLength(reader, left))
            format.setLeftMargin(*length);
    }
    for (const QStringView right : {u"right", u"end"}) {
        if (const auto length = documentLength(reader, right))
            format.setRightMargin(*length);
    }
    if (const auto firstLine = documentLength(reader, u"firstLine"))
        format.setTextIndent(*firstLine);
    if (const auto hanging = documentLength(reader, u"hanging"))
        format.setTextIndent(-*hanging);
}

void readSpacing(const QXmlStreamReader& reader, QTextBlockFormat& format)
{
    if (const auto before = documentLength(reader, u"before"))
        format.setTopMargin(*before);
    if (const auto after = documentLength(reader, u"after"))
        format.setBottomMargin(*after);
    if (!hasAttribute(reader, u"line"))
        return;
    const double line = attribute(reader, u"line").toDouble();
    const QString rule = attribute(reader, u"lineRule");
    if (line <= 0 || line > 31680)
        return;
    if (rule == u"exact")
        format.setLineHeight(engine::twipsToDocument(line), QTextBlockFormat::FixedHeight);
    else if (rule == u"atLeast")
        format.setLineHeight(engine::twipsToDocument(line), QTextBlockFormat::MinimumHeight);
    else // auto: in 240ths of a line
        format.setLineHeight(line * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
}

QTextOption::Tab tabOf(const QXmlStreamReader& reader)
{
    const QString kind = value(reader);
    const QTextOption::TabType type = kind == u"center"                    ? QTextOption::CenterTab
                                      : kind == u"right" || kind == u"end" ? QTextOption::RightTab
                                      : kind == u"decimal"                 ? QTextOption::DelimiterTab
                                                                           : QTextOption::LeftTab;
    return QTextOption::Tab(documentLength(reader, u"pos").value_or(0), type, kind == u"decimal" ? QChar(u'.') : QChar());
}

// w:tabs: the tab stops in order; "clear" stops drop an inherited one.
QList<QTextOption::Tab> readTabs(QXmlStreamReader& reader)
{
    QList<QTextOption::Tab> tabs;
    while (reader.readNextStartElement()) {
        if (reader.name() == u"tab" && value(reader) != u"clear" && tabs.size() < 64)
            tabs << tabOf(reader);
        reader.skipCurrentElement();
    }
    return tabs;
}

std::optional<ListMembership> readListMembership(QXmlStreamReader& reader)
{
    ListMembership membership;
    while (reader.readNextStartElement()) {
        if (reader.name() == u"numId")
            membership.numberingId = value(reader);
        else if (reader.name() == u"ilvl")
            membership.level = std::clamp(value(reader).toInt(), 0, 8);
        reader.skipCurrentElement();
    }
    return membership.numberingId.isEmpty() ? std::nullopt : std::optional(membership);
}

// A drop cap is framed too, but stays a letter of its paragraph.
bool isDropCap(const QXmlStreamReader& reader)
{
    const QString dropCap = attribute(reader, u"dropCap");
    return !dropCap.isEmpty() && dropCap != u"none";
}

} // namespace

QTextCharFormat readRunProperties(QXmlStreamReader& reader, QString* styleId)
{
    QTextCharFormat format;
    while (reader.readNextStartElement()) {
        readRunProperty(reader, format, styleId);
        reader.skipCurrentElement();
    }
    return format;
}

ParagraphProperties readParagraphProperties(QXmlStreamReader& reader)
{
    ParagraphProperties properties;
    QTextBlockFormat& block = properties.block;
    while (reader.readNextStartElement()) {
        const QStringView name = reader.name();
        if (name == u"pStyle")
            properties.styleId = value(reader);
        else if (name == u"jc") {
            if (const auto alignment = word::alignmentOf(value(reader)))
                block.setAlignment(*alignment);
        } else if (name == u"ind")
            readIndents(reader, block);
        else if (name == u"spacing")
            readSpacing(reader, block);
        else if (name == u"pageBreakBefore" && onOff(reader))
            block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        else if (name == u"shd") {
            if (const std::optional<QColor> colour = shadingFill(reader))
                block.setBackground(*colour);
        } else if (name == u"sectPr")
            properties.endsSection = true;
        else if (name == u"framePr" && !isDropCap(reader))
            properties.frame = QSizeF(documentLength(reader, u"w").value_or(0), documentLength(reader, u"h").value_or(0));
        else if (name == u"outlineLvl")
            properties.outlineLevel = value(reader).toInt();
        else if (name == u"tabs") {
            block.setTabPositions(readTabs(reader));
            continue;
        } else if (name == u"numPr") {
            properties.list = readListMembership(reader);
            continue;
        } else if (name == u"rPr") {
            properties.paragraphMark = readRunProperties(reader);
            continue;
        }
        reader.skipCurrentElement();
    }
    return properties;
}

} // namespace formats::docx
