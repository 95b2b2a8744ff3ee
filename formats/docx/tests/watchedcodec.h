#pragma once
// The Word codec as the program registers it, watched by a test: every write
// is counted, and `breakWrites` makes a write fail after the codec has put
// its bytes out, as a writer that breaks off half-way would — what a save
// must survive without touching the file it was to replace.

#include "formats/docx/docxcodec.h"

#include <QIODevice>

namespace docxtest {

class WatchedWordCodec : public engine::DocumentCodec {
public:
    qint64 maxInputBytes() const override { return m_codec.maxInputBytes(); }
    bool read(const QByteArray& bytes, const engine::DocumentSet& target) override { return m_codec.read(bytes, target); }
    bool write(const engine::DocumentSet& source, QIODevice& out) override
    {
        ++writes;
        const bool written = m_codec.write(source, out);
        if (breakWrites)
            out.write("broken off");
        return written && !breakWrites;
    }

    int writes = 0;
    bool breakWrites = false;

private:
    formats::docx::DocxCodec m_codec;
};

} // namespace docxtest
