#include "formats/html/enginestyles.h"

#include "engine/hostunits.h"
#include "engine/pagesetup.h"
#include "formats/html/cssvalues.h"
#include "html/fontfamilies.h"

#include <QTextBlock>
#include <QTextFragment>

namespace formats {

namespace {

QStringList familiesOf(const QTextCharFormat& format)
{
    QStringList families = format.fontFamilies().toStringList();
    families.removeAll(QString());
    return families;
}

QTextCharFormat firstRunFormat(const QTextBlock& block)
{
    const QTextBlock::iterator first = block.begin();
    return first.atEnd() ? QTextCharFormat() : first.fragment().charFormat();
}

QString points(double documentUnits)
{
    return css::pointsFromTwips(engine::documentToTwips(documentUnits));
}

bool hasColour(const QBrush& brush)
{
    return brush.style() != Qt::NoBrush && brush.color().alpha() > 0;
}

QString textDecoration(const QTextCharFormat& format)
{
    QStringList lines;
    if (format.fontUnderline())
        lines << QStringLiteral("underline");
    if (format.fontStrikeOut())
        lines << QStringLiteral("line-through");
    return lines.join(u' ');
}

} // namespace

QString alignmentName(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("center");
    if (alignment & Qt::AlignJustify)
        return QStringLiteral("justify");
    if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        return QStringLiteral("right");
    return {};
}

ParagraphFont ParagraphFont::of(const QFont& font)
{
    return {font.families().isEmpty() ? QStringList{font.family()} : font.families(),
            font.pointSizeF() > 0 ? font.pointSizeF() : 10.0};
}

ParagraphFont ParagraphFont::of(const QTextBlock& block, const ParagraphFont& standard)
{
    const QTextCharFormat own = block.charFormat();
    const QTextCharFormat run = firstRunFormat(block);
    ParagraphFont font = standard;
    if (const QStringList families = familiesOf(own); !families.isEmpty())
        font.families = families;
    else if (const QStringList runFamilies = familiesOf(run); !runFamilies.isEmpty())
        font.families = runFamilies;
    if (own.fontPointSize() > 0)
        font.size = own.fontPointSize();
    else if (run.fontPointSize() > 0)
        font.size = run.fontPointSize();
    return font;
}

int lineHeightPercent(const QTextBlockFormat& format, double fontSize)
{
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        return int(format.lineHeight());
    case QTextBlockFormat::MinimumHeight:
    case QTextBlockFormat::FixedHeight: {
        const float factor = float(engine::documentToTwips(format.lineHeight()) / (fontSize * engine::kTwipsPerPoint));
        return int(100.0f * factor);
    }
    default:
        return 100;
    }
}

QString paragraphStyle(const QTextBlock& block, const ParagraphFont& font)
{
    const QTextBlockFormat format = block.blockFormat();
    QString style = QStringLiteral("margin-left:") + points(format.leftMargin())
        + QStringLiteral(";margin-top:") + points(format.topMargin())
        + QStringLiteral(";margin-bottom:") + points(format.bottomMargin())
        + QStringLiteral(";margin-right:") + points(format.rightMargin())
        + QStringLiteral(";text-indent:") + points(format.textIndent())
        + QStringLiteral(";line-height:") + QString::number(lineHeightPercent(format, font.size)) + QStringLiteral("%;");
    if (const QString align = alignmentName(format.alignment()); !align.isEmpty())
        style += QStringLiteral("text-align:") + align + u';';
    style += QStringLiteral("font-family:") + html::familyList(font.families) + QStringLiteral(";font-size:")
        + css::number(font.size) + QStringLiteral("pt;");
    if (hasColour(format.background()))
        style += QStringLiteral("background-color:") + css::colourHex(format.background().color()) + u';';
    // Preformatted text (pre, code blocks) is not wrapped; its runs keep
    // their spaces and tabs, while the line layout of the
    // file between the tags stays no part of it.
    if (format.nonBreakableLines())
        style += QStringLiteral("white-space:nowrap;");
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        style += QStringLiteral("page-break-before:always;");
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
        style += QStringLiteral("page-break-after:always;");
    return style;
}

namespace {

// The value `table` holds for `key`, made by `make` the first time.
template <typename Table, typename Key, typename Make>
QString remembered(Table& table, Key key, Make make)
{
    auto found = table.find(key);
    if (found == table.end())
        found = table.insert(std::move(key), make());
    return *found;
}

} // namespace

QString StyleCache::paragraph(const QTextBlock& block, const ParagraphFont& font)
{
    return remembered(m_paragraphs, Key{block.blockFormatIndex(), -1, font.families, font.size},
                      [&] { return paragraphStyle(block, font); });
}

QString StyleCache::run(const QTextFragment& fragment, const QTextBlock& block, const ParagraphFont& font)
{
    return remembered(m_runs, Key{fragment.charFormatIndex(), block.blockFormatIndex(), font.families, font.size},
                      [&] { return runStyle(fragment.charFormat(), font, block.blockFormat()); });
}

QString runStyle(const QTextCharFormat& format, const ParagraphFont& font, const QTextBlockFormat& paragraph)
{
    QString style;
    const QStringList families = familiesOf(format);
    if (!families.isEmpty() && families.first() != font.families.value(0))
        style += QStringLiteral("font-family:") + html::familyList(families) + u';';
    if (format.fontPointSize() > 0 && format.fontPointSize() != font.size)
        style += QStringLiteral("font-size:") + css::number(format.fontPointSize()) + QStringLiteral("pt;");
    if (hasColour(format.foreground()) && format.foreground().color().rgb() != QColor(Qt::black).rgb())
        style += QStringLiteral("color:") + css::colourHex(format.foreground().color()) + u';';
    const QBrush shading = paragraph.background();
    if (hasColour(format.background()) && format.background().color().rgb() != QColor(Qt::white).rgb()
        && !(hasColour(shading) && shading.color().rgb() == format.background().color().rgb()))
        style += QStringLiteral("background-color:") + css::colourHex(format.background().color()) + u';';
    if (format.fontWeight() >= QFont::DemiBold)
        style += QStringLiteral("font-weight:bold;");
    if (format.fontItalic())
        style += QStringLiteral("font-style:italic;");
    if (const QString lines = textDecoration(format); !lines.isEmpty())
        style += QStringLiteral("text-decoration:") + lines + u';';
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        style += QStringLiteral("vertical-align:super;");
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        style += QStringLiteral("vertical-align:sub;");
    return style;
}

} // namespace formats
