#pragma once
// The engine's codec for RTF (format code 5), as Word, LibreOffice, WordPad
// and the Japanese word processors write it: the reader is rtfreader.h, the
// writer rtfwriter.h. What the engine cannot hold is noted in the read's
// word::Report; read() passes it, and the reason for a refusal, to the
// engine's ReadReport.

#include "formats/word/styledcodec.h"
#include "html/styleset.h"

namespace formats::rtf {

class RtfCodec : public word::StyledCodec {
public:
    explicit RtfCodec(html::StyleSet styles = html::StyleSet::defaults())
        : StyledCodec(std::move(styles))
    {
    }

    bool read(const QByteArray& bytes, const engine::DocumentSet& target) override;
    bool write(const engine::DocumentSet& source, QIODevice& out) override;
};

// Registers RtfCodec as the engine's codec for format code 5, writing
// `styles` as the style sheet of what it writes.
void registerRtfCodec(const html::StyleSet& styles = html::StyleSet::defaults());

} // namespace formats::rtf
