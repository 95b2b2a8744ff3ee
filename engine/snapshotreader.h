#pragma once
// Reads snapshot bytes into a document set, all or nothing: a first pass
// checks the whole input against the format and its limits and touches no
// document; only then does a second pass fill the documents.

#include "engine/documentset.h"
#include "engine/snapshotinput.h"

#include <QImage>
#include <QList>
#include <QTextFormat>

#include <optional>

namespace engine {

class SnapshotBuilder;

class SnapshotReader {
public:
    explicit SnapshotReader(QByteArrayView bytes);

    // Replaces the parts of `target` that the snapshot holds and that are
    // not null; false, and nothing changed, when the bytes are not understood.
    bool read(const DocumentSet& target);

private:
    struct Format {
        QTextFormat format;
        qint32 floatFrame = -1; // picture characters: number of their float frame's format
    };
    enum class Use { Block, Char, List, Frame, Table };

    bool readTables();
    bool readFormats();
    bool readLists();
    bool readPictures();
    bool readPageSetup();
    bool readParts(const DocumentSet& target);
    bool readContents(SnapshotBuilder* builder, int depth);
    bool readBlock(SnapshotBuilder* builder, bool reuse);
    bool readRun(SnapshotBuilder* builder);
    bool readFrame(SnapshotBuilder* builder, int depth);
    bool readTable(SnapshotBuilder* builder, int depth);
    const Format* reference(Use use);

    SnapshotInput m_in;
    QList<Format> m_formats;
    QList<QTextListFormat> m_lists;
    QList<std::pair<QString, QImage>> m_pictures;
    std::optional<PageSetup> m_pageSetup;
    quint32 m_version = 0;
    quint8 m_partMask = 0;
};

} // namespace engine
