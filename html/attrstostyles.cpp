#include "html/passes.h"

#include "html/htmlstrings.h"

namespace html {

void AttrsToStyles(ElementList& list)
{
    for (HtmElement& e : list) {
        if (e.name == u"div") {
            AttrToCss(e.attributes, e.style, u"align", u"text-align");
        } else if (e.name == u"tr" || e.name == u"td") {
            AttrToCss(e.attributes, e.style, u"align", u"text-align");
            AttrToCss(e.attributes, e.style, u"valign", u"vertical-align");
            AttrToCss(e.attributes, e.style, u"bgcolor", u"background-color");
        } else if (e.name == u"ul" || e.name == u"li") {
            AttrToCss(e.attributes, e.style, u"type", u"list-style-type");
        }
    }
}

} // namespace html
