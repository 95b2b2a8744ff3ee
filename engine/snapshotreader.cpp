#include "engine/snapshotreader.h"

#include "engine/snapshotbuilder.h"
#include "engine/snapshotencoding.h"
#include "engine/snapshotformats.h"
#include "engine/snapshotimagecache.h"

#include <QSet>
#include <QTextDocument>

namespace engine {

using namespace snapshotencoding;

namespace {

// Characters that would make Qt start a paragraph or frame in the middle of a run.
bool breaksStructure(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0)
        || c == QChar(0xFDD1);
}

bool isPlainRun(const QString& text)
{
    return !text.isEmpty() && std::none_of(text.cbegin(), text.cend(), [](QChar c) { return breaksStructure(c); });
}

bool isPictureRun(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == QChar::ObjectReplacementCharacter;
    });
}

} // namespace

SnapshotReader::SnapshotReader(QByteArrayView bytes)
    : m_in(bytes)
{
}

bool SnapshotReader::read(const DocumentSet& target)
{
    if (!readTables())
        return false;
    const qsizetype partsStart = m_in.position();
    if (!readParts(DocumentSet{}) || !m_in.atEnd())
        return false;
    m_in.seek(partsStart);
    readParts(target);
    if (m_pageSetup && target.pageSetup)
        *target.pageSetup = *m_pageSetup;
    return true;
}

bool SnapshotReader::readTables()
{
    if (m_in.raw(kMagicSize) != QByteArrayView(kMagic, kMagicSize))
        return m_in.fail();
    m_version = m_in.u32();
    if (m_version != kVersion && m_version != kWholeMarginsVersion)
        return m_in.fail();
    if (!readFormats() || !readLists() || !readPictures() || !readPageSetup())
        return false;
    m_partMask = m_in.u8();
    return (m_partMask & ~kAllParts) == 0 ? m_in.ok() : m_in.fail();
}

bool SnapshotReader::readFormats()
{
    const quint32 n = m_in.count(12);
    for (quint32 i = 0; i < n; ++i) {
        const qint32 floatFrame = m_in.i32();
        std::optional<QTextFormat> format = snapshotformats::read(m_in);
        if (!format)
            return false;
        // A float frame is an earlier, plain frame format, and only pictures have one.
        if (floatFrame != -1) {
            const bool valid = floatFrame >= 0 && floatFrame < m_formats.size() && format->isImageFormat()
                && m_formats.at(floatFrame).format.isFrameFormat()
                && !m_formats.at(floatFrame).format.isTableFormat()
                && m_formats.at(floatFrame).floatFrame == -1;
            if (!valid)
                return m_in.fail();
        }
        m_formats.append({*format, floatFrame});
    }
    return m_in.ok();
}

bool SnapshotReader::readLists()
{
    const quint32 n = m_in.count(4);
    for (quint32 i = 0; i < n; ++i) {
        const Format* format = reference(Use::List);
        if (!format)
            return false;
        m_lists.append(format->format.toListFormat());
    }
    return m_in.ok();
}

bool SnapshotReader::readPictures()
{
    const quint32 n = m_in.count(8);
    QSet<QString> names;
    for (quint32 i = 0; i < n; ++i) {
        const QString name = m_in.string();
        const QByteArray png = m_in.bytes();
        if (!m_in.ok() || names.contains(name))
            return m_in.fail();
        names.insert(name);
        const QImage image = png.isEmpty() ? QImage() : SnapshotImageCache::imageFor(png);
        if (!png.isEmpty() && image.isNull())
            return m_in.fail();
        m_pictures.append({name, image});
    }
    return m_in.ok();
}

bool SnapshotReader::readPageSetup()
{
    const quint8 present = m_in.u8();
    if (present == 0)
        return m_in.ok();
    PageSetup setup;
    setup.paperWidth = m_in.i32();
    setup.paperHeight = m_in.i32();
    for (double* margin : {&setup.marginLeft, &setup.marginTop, &setup.marginRight, &setup.marginBottom})
        *margin = m_version == kWholeMarginsVersion ? m_in.i32() : m_in.f64();
    const quint8 landscape = m_in.u8();
    setup.landscape = landscape == 1;
    setup.headerFooterFlags = m_in.i32();
    if (present != 1 || landscape > 1)
        return m_in.fail();
    m_pageSetup = setup;
    return m_in.ok();
}

bool SnapshotReader::readParts(const DocumentSet& target)
{
    for (const auto& [part, document] : partsOf(target)) {
        if (!(m_partMask & part))
            continue;
        const Format* root = reference(Use::Frame);
        if (!root)
            return false;
        std::optional<SnapshotBuilder> builder;
        if (document) {
            builder.emplace(*document, root->format.toFrameFormat());
            for (const auto& [name, image] : m_pictures) {
                if (!image.isNull())
                    builder->addPicture(name, image);
            }
        }
        if (!readContents(builder ? &*builder : nullptr, 0))
            return false;
    }
    return m_in.ok();
}

bool SnapshotReader::readContents(SnapshotBuilder* builder, int depth)
{
    if (depth > kMaxNesting)
        return m_in.fail();
    const quint32 n = m_in.count(1);
    // Qt keeps a paragraph first and last, and one between any two frames:
    // those it makes itself, and the builder reuses them.
    bool reuse = true;
    for (quint32 i = 0; i < n; ++i) {
        const auto item = Item(m_in.u8());
        bool ok = false;
        if (item == Item::Block) {
            ok = readBlock(builder, reuse);
            reuse = false;
        } else if ((item == Item::Frame || item == Item::Table) && !reuse) {
            ok = item == Item::Frame ? readFrame(builder, depth + 1) : readTable(builder, depth + 1);
            reuse = true;
        }
        if (!ok)
            return m_in.fail();
    }
    return n > 0 && !reuse ? m_in.ok() : m_in.fail();
}

bool SnapshotReader::readBlock(SnapshotBuilder* builder, bool reuse)
{
    const Format* format = reference(Use::Block);
    const Format* charFormat = reference(Use::Char);
    const qint32 list = m_in.i32();
    if (!format || !charFormat || list < -1 || list >= m_lists.size())
        return m_in.fail();
    if (builder) {
        builder->paragraph(reuse, format->format.toBlockFormat(), charFormat->format.toCharFormat(), list,
                           list < 0 ? QTextListFormat() : m_lists.at(list));
    }
    const quint32 runs = m_in.count(10);
    for (quint32 i = 0; i < runs; ++i) {
        if (!readRun(builder))
            return false;
    }
    return m_in.ok();
}

bool SnapshotReader::readRun(SnapshotBuilder* builder)
{
    const Format* format = reference(Use::Char);
    const QString text = m_in.string();
    if (!format)
        return false;
    const bool floating = format->floatFrame >= 0;
    if (!(floating ? isPictureRun(text) : isPlainRun(text)))
        return m_in.fail();
    if (builder && floating) {
        builder->floatingPictures(text.size(), format->format.toImageFormat(),
                                  m_formats.at(format->floatFrame).format.toFrameFormat());
    } else if (builder) {
        builder->text(text, format->format.toCharFormat());
    }
    return m_in.ok();
}

bool SnapshotReader::readFrame(SnapshotBuilder* builder, int depth)
{
    const Format* format = reference(Use::Frame);
    if (!format)
        return false;
    if (builder)
        builder->beginFrame(format->format.toFrameFormat());
    if (!readContents(builder, depth))
        return false;
    if (builder)
        builder->end();
    return true;
}

bool SnapshotReader::readTable(SnapshotBuilder* builder, int depth)
{
    const Format* format = reference(Use::Table);
    const quint32 rows = m_in.u32();
    const quint32 columns = m_in.u32();
    if (!format || rows < 1 || rows > kMaxTableRows || columns < 1 || columns > kMaxTableColumns
        || quint64(rows) * columns > kMaxTableCells)
        return m_in.fail();
    if (builder)
        builder->beginTable(format->format.toTableFormat(), int(rows), int(columns));

    // Cells come in row order, each at the first grid place no earlier cell
    // covers, and together they cover the grid exactly once.
    QList<bool> covered(qsizetype(rows) * columns, false);
    qsizetype next = 0;
    const auto skipCovered = [&] {
        while (next < covered.size() && covered.at(next))
            ++next;
    };
    const quint32 cells = m_in.count(24);
    for (quint32 i = 0; i < cells; ++i) {
        const quint32 row = m_in.u32();
        const quint32 column = m_in.u32();
        const quint32 rowSpan = m_in.u32();
        const quint32 columnSpan = m_in.u32();
        const Format* cellFormat = reference(Use::Char);
        skipCovered();
        const bool placed = cellFormat && row < rows && column < columns
            && qsizetype(row) * columns + column == next && rowSpan >= 1 && columnSpan >= 1
            && rowSpan <= rows - row && columnSpan <= columns - column;
        if (!placed)
            return m_in.fail();
        for (quint32 r = row; r < row + rowSpan; ++r) {
            for (quint32 c = column; c < column + columnSpan; ++c) {
                bool& place = covered[qsizetype(r) * columns + c];
                if (place)
                    return m_in.fail();
                place = true;
            }
        }
        if (builder)
            builder->beginCell(int(row), int(column), int(rowSpan), int(columnSpan),
                               cellFormat->format.toCharFormat());
        if (!readContents(builder, depth))
            return false;
    }
    skipCovered();
    if (next != covered.size())
        return m_in.fail();
    if (builder)
        builder->end();
    return m_in.ok();
}

const SnapshotReader::Format* SnapshotReader::reference(Use use)
{
    const quint32 number = m_in.u32();
    if (!m_in.ok() || number >= quint32(m_formats.size())) {
        m_in.fail();
        return nullptr;
    }
    const Format& entry = m_formats.at(number);
    const QTextFormat& format = entry.format;
    bool fits = false;
    switch (use) {
    case Use::Block: fits = format.isBlockFormat(); break;
    case Use::Char: fits = format.isCharFormat(); break;
    case Use::List: fits = format.isListFormat(); break;
    case Use::Frame: fits = format.isFrameFormat() && !format.isTableFormat(); break;
    case Use::Table: fits = format.isTableFormat(); break;
    }
    if (!fits) {
        m_in.fail();
        return nullptr;
    }
    return &entry;
}

} // namespace engine
