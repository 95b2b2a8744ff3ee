#include "engine/snapshot.h"

#include "engine/documenttransfer.h"
#include "engine/guardeddocument.h"
#include "engine/snapshotreader.h"
#include "engine/snapshotwriter.h"

#include <QTextCursor>
#include <QTextDocument>

namespace engine {

QByteArray writeSnapshot(const DocumentSet& documents)
{
    return SnapshotWriter().write(documents);
}

bool readSnapshot(const QByteArray& bytes, const DocumentSet& documents)
{
    return SnapshotReader(bytes).read(documents);
}

QByteArray writeSelectionSnapshot(const QTextCursor& selection)
{
    GuardedDocument content;
    transfer::copySelection(selection, content);
    return writeSnapshot({&content});
}

bool insertSnapshot(const QByteArray& bytes, QTextCursor& cursor)
{
    GuardedDocument content;
    if (!readSnapshot(bytes, {&content}))
        return false;
    transfer::insertDocument(content, cursor);
    return true;
}

} // namespace engine
