#include "formats/word/styledcodec.h"

namespace formats::word {

void useStyles(engine::FormatCode format, const html::StyleSet& styles)
{
    if (const auto codec = std::dynamic_pointer_cast<StyledCodec>(engine::codecFor(format)))
        codec->setStyles(styles);
}

} // namespace formats::word
