#pragma once
// Turns a document set into snapshot bytes. Each document is walked once, in
// document order; every distinct format, list and picture is written a single
// time and referred to by its number, so the cost follows the number of text
// fragments, not of characters.

#include "engine/documentset.h"
#include "engine/snapshotoutput.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QTextFormat>
#include <QTextFrame>

class QTextBlock;
class QTextDocument;
class QTextList;
class QTextTable;

namespace engine {

class SnapshotWriter {
public:
    QByteArray write(const DocumentSet& set);

private:
    void writeDocument(const QTextDocument& document);
    void writeContents(QTextFrame::iterator it);
    void writeBlock(const QTextBlock& block);
    void writeFrame(QTextFrame* frame);
    void writeTable(QTextTable* table);

    quint32 formatNumber(int documentFormatIndex);
    quint32 numberFor(const QTextFormat& format, qint32 floatFrame);
    qint32 listNumber(const QTextList* list);
    void writePictures(SnapshotOutput& out, const QList<QByteArray>& pngs) const;
    static void writePageSetup(SnapshotOutput& out, const PageSetup* setup);

    // Per document: the document's own format indexes mapped to numbers.
    const QTextDocument* m_document = nullptr;
    QList<QTextFormat> m_documentFormats;
    QList<qint32> m_numberOfIndex;
    QHash<const QTextList*, qint32> m_listNumbers;

    // Over the whole set.
    SnapshotOutput m_formats;
    QHash<QByteArray, quint32> m_formatNumbers;
    SnapshotOutput m_lists;
    qint32 m_listCount = 0;
    QList<std::pair<QString, const QTextDocument*>> m_pictures; // name, first holder
    QSet<QString> m_pictureNames;
    SnapshotOutput m_parts;
};

} // namespace engine
