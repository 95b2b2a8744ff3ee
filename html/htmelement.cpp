#include "html/htmelement.h"

#include <algorithm>
#include <array>

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
    // Compared as they stand: every element of a long document is asked.
    static constexpr std::array<QStringView, 18> blocks = {
        u"html", u"body", u"div", u"p", u"h1", u"h2", u"h3", u"h4", u"h5",
        u"h6", u"table", u"tr", u"td", u"th", u"ul", u"ol", u"li", u"###",
    };
    if (name.startsWith(u'/'))
        name = name.sliced(1);
    return std::find(blocks.begin(), blocks.end(), name) != blocks.end();
}

} // namespace html
