#include "print/printerrecord.h"

#include "env/codepage.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace print {

namespace {

// The name's bytes in the system code page, at most `limit` of them and
// never half a character.
QByteArray codePageBytes(const QString& name, int limit)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < name.size();) {
        const qsizetype length = name[i].isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
        const QByteArray character = env::toSystemCodePage(name.mid(i, length));
        if (bytes.size() + character.size() > limit)
            break;
        bytes += character;
        i += length;
    }
    return bytes;
}

} // namespace

PrinterRecord::PrinterRecord() = default;

PrinterRecord PrinterRecord::forDevice(const QString& deviceName)
{
    PrinterRecord record;
    record.setDeviceName(deviceName);
    record.setValue(SizeAt, kSize);
    return record;
}

PrinterRecord PrinterRecord::fromBytes(const QByteArray& bytes)
{
    PrinterRecord record;
    std::copy_n(bytes.constData(), std::min<qsizetype>(bytes.size(), kSize), record.m_bytes.begin());
    return record;
}

QByteArray PrinterRecord::bytes() const
{
    return QByteArray(reinterpret_cast<const char*>(m_bytes.data()), kSize);
}

QString PrinterRecord::deviceName() const
{
    const QByteArray raw(reinterpret_cast<const char*>(m_bytes.data()), kDeviceNameBytes);
    const qsizetype end = raw.indexOf('\0');
    return env::fromSystemCodePage(end < 0 ? raw : raw.left(end)).trimmed();
}

void PrinterRecord::setDeviceName(const QString& name)
{
    const QByteArray bytes = codePageBytes(name, kDeviceNameBytes);
    std::fill_n(m_bytes.begin(), kDeviceNameBytes, ' ');
    std::copy(bytes.begin(), bytes.end(), m_bytes.begin());
}

std::uint32_t PrinterRecord::fields() const
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | m_bytes[FieldsAt + i];
    return value;
}

void PrinterRecord::setFields(std::uint32_t fields)
{
    for (int i = 0; i < 4; ++i)
        m_bytes[FieldsAt + i] = (fields >> (8 * i)) & 0xFF;
}

void PrinterRecord::set(Field field, Offset at, std::int16_t value)
{
    setValue(at, value);
    setFields(fields() | field);
}

std::int16_t PrinterRecord::value(Offset at) const
{
    return std::int16_t(m_bytes[at] | m_bytes[at + 1] << 8);
}

void PrinterRecord::setValue(Offset at, std::int16_t value)
{
    const auto bits = std::uint16_t(value);
    m_bytes[at] = bits & 0xFF;
    m_bytes[at + 1] = bits >> 8;
}

PrinterRecord readRecordFile(const QString& path, bool* read)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (read)
        *read = opened;
    return opened ? PrinterRecord::fromBytes(file.read(PrinterRecord::kSize)) : PrinterRecord();
}

bool writeRecordFile(const QString& path, const PrinterRecord& record)
{
    QByteArray content;
    QFile old(path);
    if (old.open(QIODevice::ReadOnly) && old.size() <= 1024 * 1024)
        content = old.readAll();
    content.replace(0, std::min<qsizetype>(content.size(), PrinterRecord::kSize), record.bytes());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
}

} // namespace print
