#include "tools/parameterrecord.h"

#include "env/codepage.h"

#include <QtEndian>

namespace tools {

namespace {

constexpr int kFolderWidth = 255;
constexpr int kPatternWidth = 10;
constexpr int kResultWidth = 255;

// Writes the fields one after another; remembers whether every text fitted.
class RecordWriter {
public:
    void text(const QString& value, int width)
    {
        const QByteArray bytes = env::toSystemCodePage(value);
        if (bytes.size() > width || env::fromSystemCodePage(bytes) != value)
            m_fits = false;
        m_bytes += bytes.left(width).leftJustified(width, ' ');
    }
    template <typename T>
    void number(T value)
    {
        char raw[sizeof(T)];
        qToLittleEndian(value, raw);
        m_bytes.append(raw, sizeof(T));
    }
    std::optional<QByteArray> bytes() const { return m_fits ? std::optional(m_bytes) : std::nullopt; }

private:
    QByteArray m_bytes;
    bool m_fits = true;
};

// Reads the fields of a record whose size has been checked.
class RecordReader {
public:
    explicit RecordReader(const QByteArray& bytes) : m_bytes(bytes) {}
    QString text(int width)
    {
        const QByteArray field = m_bytes.mid(m_at, width);
        m_at += width;
        return TrimNul(env::fromSystemCodePage(field));
    }
    template <typename T>
    T number()
    {
        const T value = qFromLittleEndian<T>(m_bytes.constData() + m_at);
        m_at += int(sizeof(T));
        return value;
    }

private:
    const QByteArray& m_bytes;
    int m_at = 0;
};

} // namespace

QString TrimNul(const QString& text)
{
    QString value = text.trimmed();
    if (const qsizetype nul = value.indexOf(QChar(0)); nul >= 0)
        value.truncate(nul);
    return value.trimmed();
}

std::optional<QByteArray> encodeRecord(const PictureRecord& record)
{
    RecordWriter writer;
    writer.text(record.folder, kFolderWidth);
    writer.text(record.pattern, kPatternWidth);
    writer.text(record.result, kResultWidth);
    writer.number<qint32>(record.width);
    writer.number<qint32>(record.height);
    writer.number<qint16>(record.code);
    writer.number<qint16>(record.ok);
    return writer.bytes();
}

std::optional<QByteArray> encodeRecord(const ChartRecord& record)
{
    RecordWriter writer;
    writer.text(record.folder, kFolderWidth);
    writer.text(record.pattern, kPatternWidth);
    writer.text(record.result, kResultWidth);
    writer.number<qint16>(record.ok);
    return writer.bytes();
}

std::optional<PictureRecord> decodePictureRecord(const QByteArray& bytes)
{
    if (bytes.size() != kPictureRecordSize)
        return std::nullopt;
    RecordReader reader(bytes);
    PictureRecord record;
    record.folder = reader.text(kFolderWidth);
    record.pattern = reader.text(kPatternWidth);
    record.result = reader.text(kResultWidth);
    record.width = reader.number<qint32>();
    record.height = reader.number<qint32>();
    record.code = reader.number<qint16>();
    record.ok = reader.number<qint16>();
    return record;
}

std::optional<ChartRecord> decodeChartRecord(const QByteArray& bytes)
{
    if (bytes.size() != kChartRecordSize)
        return std::nullopt;
    RecordReader reader(bytes);
    ChartRecord record;
    record.folder = reader.text(kFolderWidth);
    record.pattern = reader.text(kPatternWidth);
    record.result = reader.text(kResultWidth);
    record.ok = reader.number<qint16>();
    return record;
}

} // namespace tools
