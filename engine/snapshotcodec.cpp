#include "engine/snapshotcodec.h"

#include "engine/snapshot.h"

#include <QIODevice>

namespace engine {

bool SnapshotCodec::read(const QByteArray& bytes, const DocumentSet& target)
{
    return readSnapshot(bytes, target);
}

bool SnapshotCodec::write(const DocumentSet& source, QIODevice& out)
{
    const QByteArray bytes = writeSnapshot(source);
    return out.write(bytes) == bytes.size();
}

} // namespace engine
