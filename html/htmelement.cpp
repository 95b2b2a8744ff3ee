#include "html/htmelement.h"

#include <QSet>

namespace html {

qsizetype FindElem(const ElementList& list, qsizetype from, QStringView name, int step)
{
    const auto size = qsizetype(list.size());
    for (qsizetype i = from + step; i >= 0 && i < size; i += step) {
        const HtmElement& e = list[size_t(i)];
        if (!e.removed && (name.isEmpty() || e.name == name))
            return i;
    }
    return -1;
}

bool isBlockTag(QStringView name)
{
    static const QSet<QString> blocks = {
        QStringLiteral("html"), QStringLiteral("body"), QStringLiteral("div"), QStringLiteral("p"),
        QStringLiteral("h1"), QStringLiteral("h2"), QStringLiteral("h3"), QStringLiteral("h4"),
        QStringLiteral("h5"), QStringLiteral("h6"), QStringLiteral("table"), QStringLiteral("tr"),
        QStringLiteral("td"), QStringLiteral("th"), QStringLiteral("ul"), QStringLiteral("ol"),
        QStringLiteral("li"), QStringLiteral("###"),
    };
    if (name.startsWith(u'/'))
        name = name.sliced(1);
    return blocks.contains(name.toString());
}

} // namespace html
