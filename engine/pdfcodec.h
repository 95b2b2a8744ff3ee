#pragma once
// The codec of FormatCode::Pdf: the pages of a document set, headers and
// footers included, written as PDF. PDF is never read back.

#include "engine/documentcodec.h"

namespace engine {

class PdfCodec : public DocumentCodec {
public:
    bool read(const QByteArray& bytes, const DocumentSet& target) override;
    bool write(const DocumentSet& source, QIODevice& out) override;
};

} // namespace engine
