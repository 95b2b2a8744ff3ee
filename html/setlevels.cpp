#include "html/passes.h"

#include <QHash>

namespace html {

void SetLevels(ElementList& list)
{
    static const QHash<QString, int> levels = {
        {QStringLiteral("body"), 0}, {QStringLiteral("html"), 0},
        {QStringLiteral("/body"), 0}, {QStringLiteral("/html"), 0},
        {QStringLiteral("table"), 1}, {QStringLiteral("div"), 1}, {QStringLiteral("hr"), 1},
        {QStringLiteral("/table"), 1}, {QStringLiteral("/div"), 1},
        {QStringLiteral("tr"), 2}, {QStringLiteral("ol"), 2}, {QStringLiteral("ul"), 2},
        {QStringLiteral("/ol"), 2}, {QStringLiteral("/ul"), 2},
        {QStringLiteral("h1"), 2}, {QStringLiteral("h3"), 2}, {QStringLiteral("h5"), 2},
        {QStringLiteral("td"), 3}, {QStringLiteral("li"), 3},
        {QStringLiteral("a"), 4}, {QStringLiteral("img"), 4}, {QStringLiteral("span"), 4},
    };
    for (HtmElement& e : list)
        e.level = levels.value(e.name, -1);
}

} // namespace html
