#pragma once
// The codec of FormatCode::Snapshot: snapshot bytes in and out of a document set.

#include "engine/documentcodec.h"

namespace engine {

class SnapshotCodec : public DocumentCodec {
public:
    // Snapshots of very large documents are the program's own, not input to fear.
    qint64 maxInputBytes() const override { return qint64(1024) * 1024 * 1024; }
    bool read(const QByteArray& bytes, const DocumentSet& target) override;
    bool write(const DocumentSet& source, QIODevice& out) override;
};

} // namespace engine
