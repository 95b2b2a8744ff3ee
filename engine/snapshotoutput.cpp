#include "engine/snapshotoutput.h"

#include <QtEndian>

#include <cstring>

namespace engine {

namespace {

template<typename T>
void appendLittleEndian(QByteArray& data, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    data.append(bytes, sizeof(T));
}

} // namespace

void SnapshotOutput::u8(quint8 value)
{
    m_data.append(char(value));
}

void SnapshotOutput::u16(quint16 value)
{
    appendLittleEndian(m_data, value);
}

void SnapshotOutput::i32(qint32 value)
{
    appendLittleEndian(m_data, value);
}

void SnapshotOutput::u32(quint32 value)
{
    appendLittleEndian(m_data, value);
}

void SnapshotOutput::i64(qint64 value)
{
    appendLittleEndian(m_data, value);
}

void SnapshotOutput::f64(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    appendLittleEndian(m_data, bits);
}

void SnapshotOutput::string(const QString& value)
{
    u32(quint32(value.size()));
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        m_data.append(reinterpret_cast<const char*>(value.utf16()), value.size() * 2);
    } else {
        for (const QChar c : value)
            u16(c.unicode());
    }
}

void SnapshotOutput::bytes(const QByteArray& value)
{
    u32(quint32(value.size()));
    m_data.append(value);
}

void SnapshotOutput::raw(const QByteArray& value)
{
    m_data.append(value);
}

void SnapshotOutput::reserve(qsizetype more)
{
    m_data.reserve(m_data.size() + more);
}

qsizetype SnapshotOutput::placeholder()
{
    const qsizetype offset = m_data.size();
    u32(0);
    return offset;
}

void SnapshotOutput::patch(qsizetype offset, quint32 value)
{
    qToLittleEndian(value, m_data.data() + offset);
}

} // namespace engine
