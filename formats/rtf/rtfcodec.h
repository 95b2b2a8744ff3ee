#pragma once
// The engine's codec for RTF (format code 5), as Word, LibreOffice, WordPad
// and the Japanese word processors write it: the reader is rtfreader.h, the
// writer rtfwriter.h. What the engine cannot hold is noted in the read's
// word::Report; read() passes it, and the reason for a refusal, to the
// engine's ReadReport.

#include "engine/documentcodec.h"
#include "html/styleset.h"

namespace formats::rtf {

class RtfCodec : public engine::DocumentCodec {
public:
    explicit RtfCodec(html::StyleSet styles = html::StyleSet::defaults())
        : m_styles(std::move(styles))
    {
    }

    qint64 maxInputBytes() const override { return qint64(256) * 1024 * 1024; }
    bool read(const QByteArray& bytes, const engine::DocumentSet& target) override;
    bool write(const engine::DocumentSet& source, QIODevice& out) override;
    void setStyles(html::StyleSet styles) { m_styles = std::move(styles); }

private:
    html::StyleSet m_styles;
};

// Registers RtfCodec as the engine's codec for format code 5, writing
// `styles` as the style sheet of what it writes.
void registerRtfCodec(const html::StyleSet& styles = html::StyleSet::defaults());

// Gives the registered RtfCodec the user's formats as they are now; the
// editor calls it before it saves. Another codec registered for format 5
// is left as it is.
void useStyles(const html::StyleSet& styles);

} // namespace formats::rtf
