#include "html/styleset.h"

namespace html {

StyleSet StyleSet::defaults()
{
    const QString font = QStringLiteral("ＭＳ Ｐゴシック");
    StyleSet set;
    set.headings = {TextStyle{font, 14, 0x505A85}, TextStyle{font, 12, 0x4D6854},
                    TextStyle{font, 11, 0x563F3A}};
    set.body = TextStyle{font, 10, 0};
    return set;
}

} // namespace html
