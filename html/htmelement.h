#pragma once
// One token of the engine's body markup as the rewrite passes see it, and the
// flat list of them in document order that every pass works on.

#include <QString>
#include <QStringView>
#include <vector>

namespace html {

struct HtmElement {
    // Tag name exactly as written (compared case-sensitively), "/" and the
    // name for a closing tag, "val" for a run of text; passes rename elements.
    QString name;
    // 1 for an opening tag other than br and img, -1 for a closing tag,
    // 0 for br, img and text.
    int container = 0;
    // Dropped by a pass: never written, skipped by FindElem.
    bool removed = false;
    // The tag's attributes without its style attribute.
    QString attributes;
    // The style attribute's value, cleaned of default declarations.
    QString style;
    // Generated class name, empty when none.
    QString cls;
    // The token itself: the tag trimmed of spaces, or the text run with
    // the spaces it has.
    QString raw;
    // Layout level for line breaks and indentation, -1 for inline.
    int level = -1;
};

using ElementList = std::vector<HtmElement>;

// Steps from `from` by `step` (+1 or -1) to the first element that is not
// removed and is named `name` (any name when empty); -1 when there is none.
// Start at -1 to search from the beginning.
qsizetype FindElem(const ElementList& list, qsizetype from, QStringView name, int step = 1);

// Whether the element `name` (opening or closing) lays out a block: white
// space beside such a tag is no text of the document, while text, br and
// inline tags (span, a, img, b, ...) run on in one line.
bool isBlockTag(QStringView name);

} // namespace html
