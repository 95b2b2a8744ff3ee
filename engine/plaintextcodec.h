#pragma once
// Reads and writes plain-text files (format code 1).
//
// Reading decodes the bytes as textdecoding.h says (a byte-order mark, else
// UTF-8 when valid, else the character set ICU's detector finds, Japanese
// text as CP932); byte sequences that cannot be read become U+FFFD and are
// counted in the read report. Bytes that hold NUL characters, or that are
// mostly unreadable (a binary file), are refused. Input is limited to 16 MiB:
// plain text beyond that is no longer a document one edits, and laying it
// out would take minutes.
// Writing produces UTF-8 with a byte-order mark and CR LF paragraph ends, so
// that Windows tools do not mistake the file for CP932.

#include "engine/documentcodec.h"
#include "engine/textdecoding.h"

#include <optional>

namespace engine {

class PlainTextCodec : public DocumentCodec {
public:
    qint64 maxInputBytes() const override { return qint64(16) * 1024 * 1024; }
    bool read(const QByteArray& bytes, const DocumentSet& target) override;
    // Every line becomes a paragraph, and each costs the document and, far
    // more, an HTML save (about 2 KB); 16 MiB of line feeds would need tens
    // of gigabytes, so a text of more lines is refused.
    static constexpr qsizetype kMaxLines = 1'000'000;
    bool write(const DocumentSet& source, QIODevice& out) override;

    // The text of `bytes` by the rules above, or nothing when they are refused.
    static std::optional<DecodedText> decode(const QByteArray& bytes);
    static QByteArray encode(const QString& text);
};

} // namespace engine
