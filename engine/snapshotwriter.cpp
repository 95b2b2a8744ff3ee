#include "engine/snapshotwriter.h"

#include "engine/snapshotencoding.h"
#include "engine/snapshotformats.h"
#include "engine/snapshotimagecache.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

namespace engine {

using namespace snapshotencoding;

QByteArray SnapshotWriter::write(const DocumentSet& set)
{
    quint8 mask = 0;
    for (const auto& [part, document] : partsOf(set)) {
        if (document) {
            mask |= part;
            writeDocument(*document);
        }
    }

    QList<QByteArray> pngs;
    qsizetype pictureBytes = 0;
    for (const auto& [name, holder] : m_pictures) {
        pngs.append(SnapshotImageCache::pngFor(holder->resource(QTextDocument::ImageResource, QUrl(name))));
        pictureBytes += 8 + 2 * name.size() + pngs.last().size();
    }

    // Room for everything at once: the result is written in one go, not grown.
    SnapshotOutput out;
    out.reserve(kMagicSize + 64 + m_formats.data().size() + m_lists.data().size() + pictureBytes
                + m_parts.data().size());
    out.raw(QByteArray::fromRawData(kMagic, kMagicSize));
    out.u32(kVersion);
    out.u32(quint32(m_formatNumbers.size()));
    out.raw(m_formats.data());
    out.u32(quint32(m_listCount));
    out.raw(m_lists.data());
    writePictures(out, pngs);
    writePageSetup(out, set.pageSetup);
    out.u8(mask);
    out.raw(m_parts.data());
    return out.data();
}

void SnapshotWriter::writeDocument(const QTextDocument& document)
{
    m_document = &document;
    // Qt makes the root frame, and its format, on first demand: before the
    // format table is taken.
    const QTextFrame* root = document.rootFrame();
    m_documentFormats = document.allFormats();
    m_numberOfIndex = QList<qint32>(m_documentFormats.size(), -1);
    m_listNumbers.clear();
    // About what the text and paragraph records take, so the buffer rarely grows.
    m_parts.reserve(qsizetype(document.characterCount()) * 2 + qsizetype(document.blockCount()) * 32);
    m_parts.u32(formatNumber(root->formatIndex()));
    writeContents(root->begin());
}

void SnapshotWriter::writeContents(QTextFrame::iterator it)
{
    const qsizetype countAt = m_parts.placeholder();
    quint32 count = 0;
    for (; !it.atEnd(); ++it, ++count) {
        if (QTextTable* table = qobject_cast<QTextTable*>(it.currentFrame()))
            writeTable(table);
        else if (QTextFrame* frame = it.currentFrame())
            writeFrame(frame);
        else
            writeBlock(it.currentBlock());
    }
    m_parts.patch(countAt, count);
}

void SnapshotWriter::writeBlock(const QTextBlock& block)
{
    m_parts.u8(quint8(Item::Block));
    m_parts.u32(formatNumber(block.blockFormatIndex()));
    m_parts.u32(formatNumber(block.charFormatIndex()));
    m_parts.i32(listNumber(block.textList()));

    // Neighbouring fragments that differ only in what the snapshot leaves out
    // (object index) are one run: Qt joins them again when reading.
    const qsizetype countAt = m_parts.placeholder();
    quint32 runs = 0;
    qint64 runFormat = -1;
    QString runText;
    const auto flush = [&] {
        if (runFormat < 0)
            return;
        m_parts.u32(quint32(runFormat));
        m_parts.string(runText);
        ++runs;
    };
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const quint32 number = formatNumber(fragment.charFormatIndex());
        if (number == runFormat) {
            runText += fragment.text();
            continue;
        }
        flush();
        runFormat = number;
        runText = fragment.text();
    }
    flush();
    m_parts.patch(countAt, runs);
}

void SnapshotWriter::writeFrame(QTextFrame* frame)
{
    m_parts.u8(quint8(Item::Frame));
    m_parts.u32(formatNumber(frame->formatIndex()));
    writeContents(frame->begin());
}

void SnapshotWriter::writeTable(QTextTable* table)
{
    m_parts.u8(quint8(Item::Table));
    m_parts.u32(formatNumber(table->formatIndex()));
    m_parts.u32(quint32(table->rows()));
    m_parts.u32(quint32(table->columns()));
    const qsizetype countAt = m_parts.placeholder();
    quint32 cells = 0;
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue; // covered by a merged cell written before
            m_parts.u32(quint32(row));
            m_parts.u32(quint32(column));
            m_parts.u32(quint32(cell.rowSpan()));
            m_parts.u32(quint32(cell.columnSpan()));
            m_parts.u32(formatNumber(cell.tableCellFormatIndex()));
            writeContents(cell.begin());
            ++cells;
        }
    }
    m_parts.patch(countAt, cells);
}

quint32 SnapshotWriter::formatNumber(int documentFormatIndex)
{
    if (m_numberOfIndex.at(documentFormatIndex) >= 0)
        return quint32(m_numberOfIndex.at(documentFormatIndex));

    const QTextFormat& format = m_documentFormats.at(documentFormatIndex);
    // A floating picture's character points at the float frame Qt made for it.
    qint32 floatFrame = -1;
    if (format.isImageFormat() && format.objectIndex() >= 0) {
        if (const auto* frame = qobject_cast<const QTextFrame*>(m_document->object(format.objectIndex())))
            floatFrame = qint32(formatNumber(frame->formatIndex()));
    }
    const quint32 number = numberFor(format, floatFrame);
    m_numberOfIndex[documentFormatIndex] = qint32(number);
    return number;
}

quint32 SnapshotWriter::numberFor(const QTextFormat& format, qint32 floatFrame)
{
    SnapshotOutput encoded;
    encoded.i32(floatFrame);
    snapshotformats::write(encoded, format);
    const auto found = m_formatNumbers.constFind(encoded.data());
    if (found != m_formatNumbers.cend())
        return *found;

    const quint32 number = quint32(m_formatNumbers.size());
    m_formatNumbers.insert(encoded.data(), number);
    m_formats.raw(encoded.data());
    if (format.isImageFormat()) {
        const QString name = format.toImageFormat().name();
        if (!m_pictureNames.contains(name)) {
            m_pictureNames.insert(name);
            m_pictures.append({name, m_document});
        }
    }
    return number;
}

qint32 SnapshotWriter::listNumber(const QTextList* list)
{
    if (!list)
        return -1;
    const auto found = m_listNumbers.constFind(list);
    if (found != m_listNumbers.cend())
        return *found;
    const qint32 number = m_listCount++;
    m_lists.u32(formatNumber(list->formatIndex()));
    m_listNumbers.insert(list, number);
    return number;
}

void SnapshotWriter::writePictures(SnapshotOutput& out, const QList<QByteArray>& pngs) const
{
    out.u32(quint32(m_pictures.size()));
    for (qsizetype i = 0; i < m_pictures.size(); ++i) {
        out.string(m_pictures.at(i).first);
        out.bytes(pngs.at(i));
    }
}

void SnapshotWriter::writePageSetup(SnapshotOutput& out, const PageSetup* setup)
{
    out.u8(setup ? 1 : 0);
    if (!setup)
        return;
    out.i32(setup->paperWidth);
    out.i32(setup->paperHeight);
    out.f64(setup->marginLeft);
    out.f64(setup->marginTop);
    out.f64(setup->marginRight);
    out.f64(setup->marginBottom);
    out.u8(setup->landscape ? 1 : 0);
    out.i32(setup->headerFooterFlags);
}

} // namespace engine
