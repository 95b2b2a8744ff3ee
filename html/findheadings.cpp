#include "html/passes.h"

#include "env/mclt.h"

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

} // namespace

void FindHeadings(ElementList& list, const std::array<int, 3>& headingSizes)
{
    for (qsizetype i = FindElem(list, -1, u"div"); i >= 0;) {
        HtmElement& division = list[size_t(i)];
        const QString style = QString(division.style).remove(u' ');
        const int indent = leadingNumber(mClt::sBetween(style, u"margin-left:", u"pt"));
        if (indent < 6) {
            i = FindElem(list, i, u"div");
            continue;
        }
        const QString tag = headingTag(leadingNumber(mClt::sBetween(style, u"font-size:", u"pt")), headingSizes);
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
