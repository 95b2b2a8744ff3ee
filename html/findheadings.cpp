#include "html/passes.h"

#include "env/mclt.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace html {

namespace {

// The number a text starts with ("12.5pt" gives 12.5, "" and "x" give 0),
// rounded half to even and kept within 16 bits.
int leadingNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)"));
    const QRegularExpressionMatch m = number.match(text);
    const double value = m.hasMatch() ? m.captured(0).toDouble() : 0.0;
    return int(std::clamp(std::nearbyint(value), -32768.0, 32767.0));
}

QString headingTag(int size, const std::array<int, 3>& headingSizes)
{
    static const char16_t* const tags[] = {u"h1", u"h3", u"h5"};
    for (size_t k = 0; k < headingSizes.size(); ++k) {
        if (size >= headingSizes[k])
            return QString::fromUtf16(tags[k]);
    }
    return {};
}

// What a paragraph of `style` is: indented by at least 6pt or not, and for
// an indented one, the heading its font size makes it ("" for none).
struct Indented {
    bool indented = false;
    QString tag;
};

Indented indentedOf(const QString& divisionStyle, const std::array<int, 3>& headingSizes)
{
    const QString style = QString(divisionStyle).remove(u' ');
    if (leadingNumber(mClt::sBetween(style, u"margin-left:", u"pt")) < 6)
        return {};
    return {true, headingTag(leadingNumber(mClt::sBetween(style, u"font-size:", u"pt")), headingSizes)};
}

} // namespace

void FindHeadings(ElementList& list, const std::array<int, 3>& headingSizes)
{
    // A long document repeats a few paragraph styles thousands of times.
    QHash<QString, Indented> styles;
    for (qsizetype i = FindElem(list, -1, u"div"); i >= 0;) {
        HtmElement& division = list[size_t(i)];
        auto known = styles.constFind(division.style);
        if (known == styles.cend())
            known = styles.insert(division.style, indentedOf(division.style, headingSizes));
        if (!known->indented) {
            i = FindElem(list, i, u"div");
            continue;
        }
        const QString tag = known->tag;
        const qsizetype close = FindElem(list, i, u"/div");
        if (!tag.isEmpty()) {
            division.name = tag;
            if (close >= 0) {
                list[size_t(close)].name = u'/' + tag;
                list[size_t(close)].raw = QStringLiteral("</") + tag + u'>';
            }
        }
        if (close < 0)
            return;
        i = FindElem(list, close, u"div");
    }
}

} // namespace html
