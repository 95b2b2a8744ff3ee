#pragma once
// A codec that writes the user's formats as the styles of what it writes
// (Word's Normal and Heading 1–3): the .docx and .rtf codecs.

#include "engine/documentcodec.h"
#include "html/styleset.h"

namespace formats::word {

class StyledCodec : public engine::DocumentCodec {
public:
    explicit StyledCodec(html::StyleSet styles)
        : m_styles(std::move(styles))
    {
    }

    qint64 maxInputBytes() const override { return qint64(256) * 1024 * 1024; }
    void setStyles(html::StyleSet styles) { m_styles = std::move(styles); }

protected:
    const html::StyleSet& styles() const { return m_styles; }

private:
    html::StyleSet m_styles;
};

// Gives the styled codec registered for `format` the user's formats as they
// are now; the editor calls it before it saves. Any other codec registered
// for `format` is left as it is.
void useStyles(engine::FormatCode format, const html::StyleSet& styles);

} // namespace formats::word
