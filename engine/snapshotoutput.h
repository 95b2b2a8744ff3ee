#pragma once
// Appends the primitive values of the snapshot byte format to a byte array:
// fixed-width little-endian integers, IEEE doubles, length-prefixed UTF-16
// strings and byte blocks.

#include <QByteArray>
#include <QString>

namespace engine {

class SnapshotOutput {
public:
    void u8(quint8 value);
    void u16(quint16 value);
    void i32(qint32 value);
    void u32(quint32 value);
    void i64(qint64 value);
    void f64(double value);
    void string(const QString& value);
    void bytes(const QByteArray& value);
    void raw(const QByteArray& value);
    // Makes room for `more` bytes beyond those written.
    void reserve(qsizetype more);

    // Writes a placeholder count and returns where it is, for counts known
    // only after the items are written.
    qsizetype placeholder();
    void patch(qsizetype offset, quint32 value);

    const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
};

} // namespace engine
