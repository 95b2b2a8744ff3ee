#pragma once
// The fixed-layout records through which the picture, graph and chart
// programs are told what to make and answer what they made. Text fields are
// in the system code page, padded with spaces to their width; integers are
// little-endian.
//
// Picture record (532 bytes): folder (255), pattern (10), result (255),
// width (int32), height (int32), result code (int16), success (int16).
// Graph and chart record (522 bytes): folder (255), pattern (10),
// result (255), success (int16).

#include <QByteArray>
#include <QString>
#include <optional>

namespace tools {

constexpr int kPictureRecordSize = 532;
constexpr int kChartRecordSize = 522;

struct PictureRecord {
    QString folder;
    QString pattern = QStringLiteral("*.png");
    QString result;  // asked for: "*.*" or "*.png"; answered: the picture file
    qint32 width = 0;
    qint32 height = 0;
    qint16 code = 0;
    qint16 ok = 0;
};

struct ChartRecord {
    QString folder;
    QString pattern = QStringLiteral("*.bmp");
    QString result;  // answered: the picture file
    qint16 ok = 0;
};

// nullopt when a text does not fit its field or has characters the code
// page cannot hold: the program would be sent somewhere else than meant.
std::optional<QByteArray> encodeRecord(const PictureRecord& record);
std::optional<QByteArray> encodeRecord(const ChartRecord& record);

// nullopt unless `bytes` has exactly the record's size. Text fields come
// back trimmed and cut at their first NUL.
std::optional<PictureRecord> decodePictureRecord(const QByteArray& bytes);
std::optional<ChartRecord> decodeChartRecord(const QByteArray& bytes);

// Trimmed, cut at the first NUL, trimmed again.
QString TrimNul(const QString& text);

} // namespace tools
