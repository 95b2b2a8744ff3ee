#include "html/passes.h"

#include "html/fontfamilies.h"
#include "html/htmlstrings.h"

#include <cmath>

namespace html {

namespace {

QString fontDeclarations(const TextStyle& style)
{
    return QStringLiteral("font-family:") + familyList({style.fontName}) + QStringLiteral(";font-size:")
        + QString::number(style.size) + QStringLiteral("pt;");
}

QString headingDeclarations(const TextStyle& style, const QStringList& margins)
{
    return fontDeclarations(style) + QStringLiteral("color:#") + sRgbHex(style.colour) + u';'
        + FillMarks(QStringLiteral("margin: ?px ?px ?px ?px;"), margins);
}

QString bodySizeWord(int size)
{
    if (size >= 14)
        return QStringLiteral("large");
    return size >= 12 ? QStringLiteral("medium") : QStringLiteral("small");
}

// The line height in percent as a whole number; nothing for 0.
QString lineHeightPercent(float lineSpacing)
{
    const long percent = std::lround(100.0f * lineSpacing);
    return percent == 0 ? QString() : QString::number(percent);
}

QString bodyDeclarations(const StyleSet& styles)
{
    return QStringLiteral("padding-left: 10px;line-height:") + lineHeightPercent(styles.lineSpacing)
        + QStringLiteral("%;font-family:") + familyList({styles.body.fontName}) + QStringLiteral(";font-size:")
        + bodySizeWord(styles.body.size) + QStringLiteral(";color:#") + sRgbHex(styles.body.colour)
        + QStringLiteral(";margin: 0px; ");
}

} // namespace

BaseStyles MakeBaseStyles(const StyleSet& styles)
{
    const QString font = fontDeclarations(styles.body);
    return {font + QStringLiteral("color:#8080FF;"), font + QStringLiteral("color:#804040;")};
}

QString BuildStyleSheet(const ClassTable& classes, const QString& linkStyle, const StyleSet& styles)
{
    static const QStringList headingTags = {QStringLiteral("h1"), QStringLiteral("h3"), QStringLiteral("h5")};
    static const QStringList headingMargins[] = {
        {QStringLiteral("7"), QStringLiteral("0"), QStringLiteral("6"), QStringLiteral("8")},
        {QStringLiteral("5"), QStringLiteral("0"), QStringLiteral("4"), QStringLiteral("8")},
        {QStringLiteral("3"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("8")},
    };
    QString block = QStringLiteral("<style type=\"text/css\">|");
    block += QStringLiteral("    body {") + bodyDeclarations(styles) + QStringLiteral("background-color: #FFFFFF;}|");
    block += QStringLiteral("    a {") + linkStyle + QStringLiteral("}|");
    block += QStringLiteral("    a:link {text-decoration:underline;}|"
                            "    a:visited {color:#5689bf;text-decoration:underline;}|"
                            "    a:active {color:#009E7B;text-decoration:none;}|"
                            "    a:hover {color:white;background-color:#666633;text-decoration:underline;}|");
    for (size_t k = 0; k < styles.headings.size(); ++k)
        block += QStringLiteral("    ") + headingTags[qsizetype(k)] + QStringLiteral(" {")
            + headingDeclarations(styles.headings[k], headingMargins[k]) + QStringLiteral("}|");
    block += QStringLiteral("    div {margin: 4px 0px 2px 0px;}|"
                            "    table {border-collapse:collapse;}|"
                            "    tr {text-align:left;vertical-align:top;}|"
                            "    td {padding:3px;}|"
                            "    li {margin:4px 0px 2px 0px;}|"
                            "    img {border:0px;}|");
    block.replace(u'|', QStringLiteral("\r\n"));
    return block + classes.ClassRules() + QStringLiteral("</style>\r\n");
}

} // namespace html
