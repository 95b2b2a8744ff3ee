#include "formats/docx/zipwriter.h"

#include <memory>
#include <zip.h>

namespace formats::docx {

namespace {

// DOS date and time of 1980-01-01 00:00:00; a fixed DOS time does not go
// through the local time zone as a time_t would.
constexpr zip_uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;
constexpr zip_uint16_t kDosTime = 0;

struct SourceFree {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using SourceHandle = std::unique_ptr<zip_source_t, SourceFree>;

bool addEntry(zip_t* archive, const QString& name, const QByteArray& bytes)
{
    zip_source_t* content = zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
    if (!content)
        return false;
    const zip_int64_t index = zip_file_add(archive, name.toUtf8().constData(), content, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(content);
        return false;
    }
    const auto entry = zip_uint64_t(index);
    return zip_set_file_compression(archive, entry, ZIP_CM_DEFLATE, 6) == 0
        && zip_file_set_dostime(archive, entry, kDosTime, kDosDate, 0) == 0;
}

std::optional<QByteArray> contentsOf(zip_source_t* source)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(source, &stat) != 0 || zip_source_open(source) != 0)
        return std::nullopt;
    QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t read = zip_source_read(source, bytes.data(), stat.size);
    zip_source_close(source);
    return read == zip_int64_t(stat.size) ? std::optional<QByteArray>(bytes) : std::nullopt;
}

} // namespace

void ZipWriter::add(const QString& name, QByteArray bytes)
{
    m_entries.push_back({name, std::move(bytes)});
}

std::optional<QByteArray> ZipWriter::finish() const
{
    zip_error_t error;
    zip_error_init(&error);
    SourceHandle buffer(zip_source_buffer_create(nullptr, 0, 0, &error));
    zip_t* archive = buffer ? zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (!archive)
        return std::nullopt;
    // The archive would free the buffer on closing; we read it afterwards.
    zip_source_keep(buffer.get());
    for (const Entry& entry : m_entries) {
        if (!addEntry(archive, entry.name, entry.bytes)) {
            zip_discard(archive);
            return std::nullopt;
        }
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        return std::nullopt;
    }
    return contentsOf(buffer.get());
}

} // namespace formats::docx
