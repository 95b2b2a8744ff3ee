#pragma once
// The format codes the host loads and saves by, and the registry through which
// each code finds the codec that reads or writes it.
//
// The engine registers its own codecs (plain text, snapshot, PDF) on first use;
// the formats library registers HTML, RTF, DOC and DOCX. A code with no codec
// makes every load and save report failure.

#include "engine/documentset.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QIODevice;

namespace engine {

enum class FormatCode : int {
    PlainText = 1,
    Snapshot = 3,
    Html = 4,
    Rtf = 5,
    Doc = 9,
    Pdf = 12,
    Docx = 13,
};

class DocumentCodec {
public:
    virtual ~DocumentCodec() = default;

    // Largest input read() accepts; longer input is refused before decoding.
    virtual qint64 maxInputBytes() const { return qint64(64) * 1024 * 1024; }
    // Fills `target` (fresh, empty documents) from `bytes`; false when the
    // bytes are not understood or the codec cannot read at all.
    virtual bool read(const QByteArray& bytes, const DocumentSet& target) = 0;
    // Writes `source`; false when nothing usable could be written.
    virtual bool write(const DocumentSet& source, QIODevice& out) = 0;
    // Why the last write() failed, as a sentence; "" when the caller's own
    // words say it all.
    virtual QString writeRefusal() const { return {}; }
};

// Installs `codec` for `code`, replacing any earlier one.
void registerCodec(FormatCode code, std::shared_ptr<DocumentCodec> codec);
// The codec for `code`, or null when none is registered.
std::shared_ptr<DocumentCodec> codecFor(FormatCode code);

} // namespace engine
