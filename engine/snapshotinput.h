#pragma once
// Reads the primitive values of the snapshot byte format from bytes that may
// be truncated or hostile. Every read is bounds-checked; the first failure
// sticks, and every later read then yields zero or empty, so a reader can
// check ok() once per record instead of after every value.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace engine {

class SnapshotInput {
public:
    explicit SnapshotInput(QByteArrayView bytes);

    quint8 u8();
    quint16 u16();
    qint32 i32();
    quint32 u32();
    qint64 i64();
    double f64();             // fails on NaN and infinities
    QString string();
    QByteArray bytes();
    QByteArrayView raw(qsizetype length);

    // A count of items that take at least `minBytesEach` bytes each; fails
    // when the rest of the input cannot hold that many.
    quint32 count(qsizetype minBytesEach);

    bool ok() const { return !m_failed; }
    // Marks the input as not understood; always returns false.
    bool fail();
    bool atEnd() const { return m_position == m_bytes.size(); }
    qsizetype position() const { return m_position; }
    void seek(qsizetype position);

private:
    const char* take(qsizetype length);
    template<typename T>
    T fixed(); // a little-endian integer

    QByteArrayView m_bytes;
    qsizetype m_position = 0;
    bool m_failed = false;
};

} // namespace engine
