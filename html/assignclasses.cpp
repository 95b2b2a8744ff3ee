#include "html/passes.h"

#include "env/mclt.h"

namespace html {

void AssignClasses(ElementList& list, ClassTable& classes)
{
    for (HtmElement& e : list) {
        const bool styled = !mClt::trimSpaces(e.style).isEmpty();
        if (!e.removed && styled && (e.container == 1 || e.name == u"img"))
            e.cls = classes.MakeClass(e.name, e.style);
    }
}

} // namespace html
