#include "engine/builtincodecs.h"

#include "engine/pdfcodec.h"
#include "engine/plaintextcodec.h"
#include "engine/snapshotcodec.h"

namespace engine {

std::map<FormatCode, std::shared_ptr<DocumentCodec>> builtInCodecs()
{
    return {
        {FormatCode::PlainText, std::make_shared<PlainTextCodec>()},
        {FormatCode::Snapshot, std::make_shared<SnapshotCodec>()},
        {FormatCode::Pdf, std::make_shared<PdfCodec>()},
    };
}

} // namespace engine
