#include "engine/snapshotinput.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace engine {

SnapshotInput::SnapshotInput(QByteArrayView bytes)
    : m_bytes(bytes)
{
}

const char* SnapshotInput::take(qsizetype length)
{
    if (m_failed || length < 0 || length > m_bytes.size() - m_position) {
        m_failed = true;
        return nullptr;
    }
    const char* start = m_bytes.data() + m_position;
    m_position += length;
    return start;
}

template<typename T>
T SnapshotInput::fixed()
{
    const char* p = take(sizeof(T));
    return p ? qFromLittleEndian<T>(p) : T(0);
}

quint8 SnapshotInput::u8()
{
    return fixed<quint8>();
}

quint16 SnapshotInput::u16()
{
    return fixed<quint16>();
}

qint32 SnapshotInput::i32()
{
    return fixed<qint32>();
}

quint32 SnapshotInput::u32()
{
    return fixed<quint32>();
}

qint64 SnapshotInput::i64()
{
    return fixed<qint64>();
}

double SnapshotInput::f64()
{
    const quint64 bits = fixed<quint64>();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) {
        fail();
        return 0;
    }
    return value;
}

QString SnapshotInput::string()
{
    const quint32 length = u32();
    const char* p = take(qsizetype(length) * 2);
    if (!p)
        return {};
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian)
        return QString(reinterpret_cast<const QChar*>(p), qsizetype(length));
    QString text(qsizetype(length), Qt::Uninitialized);
    for (quint32 i = 0; i < length; ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(p + 2 * i));
    return text;
}

QByteArray SnapshotInput::bytes()
{
    const QByteArrayView view = raw(u32());
    return view.toByteArray();
}

QByteArrayView SnapshotInput::raw(qsizetype length)
{
    const char* p = take(length);
    return p ? QByteArrayView(p, length) : QByteArrayView();
}

quint32 SnapshotInput::count(qsizetype minBytesEach)
{
    const quint32 n = u32();
    if (m_failed || qsizetype(n) > (m_bytes.size() - m_position) / minBytesEach) {
        fail();
        return 0;
    }
    return n;
}

bool SnapshotInput::fail()
{
    m_failed = true;
    return false;
}

void SnapshotInput::seek(qsizetype position)
{
    m_position = position;
}

} // namespace engine
