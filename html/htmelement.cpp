#include "html/htmelement.h"

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

} // namespace html
