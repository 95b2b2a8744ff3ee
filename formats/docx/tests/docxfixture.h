#pragma once
// Hand-made Word packages for the reader's tests: the parts are written in
// the test, zipped in memory with libzip.

#include "engine/documentset.h"

#include <QByteArray>
#include <QString>
#include <QTextDocument>
#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>
#include <zip.h>

namespace docxtest {

using Parts = std::vector<std::pair<QString, QByteArray>>;

// `method` is libzip's compression for every entry: deflated by default, as
// Word writes them; stored leaves out zlib, whose state costs more than a
// small package itself where thousands are made a second.
inline QByteArray zipped(const Parts& parts, zip_int32_t method = ZIP_CM_DEFAULT)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    for (const auto& [name, bytes] : parts) {
        zip_source_t* content = zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        const zip_int64_t index = zip_file_add(archive, name.toUtf8().constData(), content, ZIP_FL_OVERWRITE);
        if (index >= 0)
            zip_set_file_compression(archive, zip_uint64_t(index), method, 0);
    }
    zip_source_keep(buffer);
    zip_close(archive);
    QByteArray result;
    zip_stat_t stat;
    if (zip_source_stat(buffer, &stat) == 0 && zip_source_open(buffer) == 0) {
        result.resize(qsizetype(stat.size));
        zip_source_read(buffer, result.data(), stat.size);
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    zip_error_fini(&error);
    return result;
}

// A zip whose one entry `name` holds `size` spaces, made as it is compressed
// (a part of a gigabyte needs no gigabyte of memory), deflated at the
// fastest level, as a zip bomb would be.
inline QByteArray zippedSpaces(const QString& name, zip_uint64_t size, const Parts& others = {})
{
    struct Spaces {
        zip_uint64_t size;
        zip_uint64_t done = 0;
    };
    const auto produce = [](void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) -> zip_int64_t {
        auto* spaces = static_cast<Spaces*>(state);
        switch (command) {
        case ZIP_SOURCE_OPEN:
            spaces->done = 0;
            return 0;
        case ZIP_SOURCE_READ: {
            const zip_uint64_t n = std::min(length, spaces->size - spaces->done);
            std::memset(data, ' ', size_t(n));
            spaces->done += n;
            return zip_int64_t(n);
        }
        case ZIP_SOURCE_STAT: {
            auto* stat = static_cast<zip_stat_t*>(data);
            zip_stat_init(stat);
            stat->size = spaces->size;
            stat->valid |= ZIP_STAT_SIZE;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            std::memset(data, 0, 2 * sizeof(int));
            return 2 * sizeof(int);
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        default: // close, free
            return 0;
        }
    };
    Spaces spaces{size};
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    for (const auto& [other, bytes] : others)
        zip_file_add(archive, other.toUtf8().constData(), zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0),
                     ZIP_FL_OVERWRITE);
    const zip_int64_t index = zip_file_add(archive, name.toUtf8().constData(), zip_source_function(archive, produce, &spaces), 0);
    zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 1);
    zip_source_keep(buffer);
    zip_close(archive);
    QByteArray result;
    zip_stat_t stat;
    if (zip_source_stat(buffer, &stat) == 0 && zip_source_open(buffer) == 0) {
        result.resize(qsizetype(stat.size));
        zip_source_read(buffer, result.data(), stat.size);
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    zip_error_fini(&error);
    return result;
}

inline const QByteArray kWordNamespaces =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"";

inline QByteArray relationships(const QByteArray& entries)
{
    return "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        + entries + "</Relationships>";
}

inline QByteArray relationship(const QByteArray& id, const QByteArray& kind, const QByteArray& target, bool external = false)
{
    return "<Relationship Id=\"" + id + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        + kind + "\" Target=\"" + target + "\"" + (external ? " TargetMode=\"External\"" : "") + "/>";
}

// A package whose main document has `body` inside w:body; `extra` adds parts
// (styles, numbering, media...) and `documentRelationships` the main part's
// relationships.
inline QByteArray package(const QByteArray& body, const Parts& extra = {}, const QByteArray& documentRelationships = {})
{
    Parts parts{
        {QStringLiteral("[Content_Types].xml"),
         "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Override PartName=\"/word/document.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>"},
        {QStringLiteral("_rels/.rels"), relationships(relationship("rId1", "officeDocument", "word/document.xml"))},
        {QStringLiteral("word/document.xml"),
         "<?xml version=\"1.0\"?><w:document " + kWordNamespaces + "><w:body>" + body + "</w:body></w:document>"},
        {QStringLiteral("word/_rels/document.xml.rels"), relationships(documentRelationships)},
    };
    parts.insert(parts.end(), extra.begin(), extra.end());
    return zipped(parts);
}

inline QByteArray stylesPart(const QByteArray& styles)
{
    return "<?xml version=\"1.0\"?><w:styles " + kWordNamespaces + ">" + styles + "</w:styles>";
}

// An engine document set of its own for each test.
struct Documents {
    QTextDocument body, header, firstHeader, footer, firstFooter;
    engine::PageSetup setup;

    engine::DocumentSet set() { return {&body, &header, &firstHeader, &footer, &firstFooter, &setup}; }
};

} // namespace docxtest
