#pragma once
// Reads and writes plain-text files (format code 1).
//
// Reading accepts UTF-8 with or without byte-order mark, UTF-16 with a mark,
// and falls back to the Japanese Windows code page (CP932) when the bytes are
// not valid UTF-8. Bytes that are none of these, or that hold NUL characters
// (a binary file), are refused. Input is limited to 16 MiB: plain text beyond
// that is no longer a document one edits, and laying it out would take minutes.
// Writing produces UTF-8 with a byte-order mark and CR LF paragraph ends, so
// that Windows tools do not mistake the file for CP932.

#include "engine/documentcodec.h"

#include <optional>

namespace engine {

class PlainTextCodec : public DocumentCodec {
public:
    qint64 maxInputBytes() const override { return qint64(16) * 1024 * 1024; }
    bool read(const QByteArray& bytes, const DocumentSet& target) override;
    bool write(const DocumentSet& source, QIODevice& out) override;

    // The text of `bytes` by the rules above, or nothing when they are refused.
    static std::optional<QString> decode(const QByteArray& bytes);
    static QByteArray encode(const QString& text);
};

} // namespace engine
