#include "html/passes.h"

namespace html {

namespace {

void removePairsOf(ElementList& list, QStringView open, QStringView close, bool skipRemoved)
{
    for (qsizetype i = FindElem(list, -1, open); i >= 0; i = FindElem(list, i, open)) {
        const qsizetype next = skipRemoved ? FindElem(list, i, {}) : (size_t(i + 1) < list.size() ? i + 1 : -1);
        if (next >= 0 && list[size_t(next)].name == close) {
            list[size_t(i)].removed = true;
            list[size_t(next)].removed = true;
        }
    }
}

} // namespace

// A division holding only text is kept whatever the text begins with: it is
// the user's paragraph.
void PruneEmpty(ElementList& list)
{
    removePairsOf(list, u"span", u"/span", true);
    removePairsOf(list, u"div", u"/div", false);
}

} // namespace html
