#pragma once
// A zip archive built in memory with the same bytes every time: entries in
// the order they were added, each deflated and dated 1980-01-01 00:00 (the
// earliest time zip can say), so that two writes of one document compare
// equal and golden tests can look at the parts.

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace formats::docx {

class ZipWriter {
public:
    // Adds an entry; names must be unique. The writer keeps its own copy.
    void add(const QString& name, QByteArray bytes);

    // The whole archive; nullopt when libzip fails (out of memory).
    std::optional<QByteArray> finish() const;

private:
    struct Entry {
        QString name;
        QByteArray bytes;
    };
    std::vector<Entry> m_entries;
};

} // namespace formats::docx
