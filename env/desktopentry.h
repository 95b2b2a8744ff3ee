#pragma once
// Writes freedesktop desktop entries: the shortcuts of this desktop.

#include <QString>
#include <QUrl>

namespace env {

// A link entry (Type=Link) to `url`; replaces an existing file atomically.
bool writeLinkEntry(const QString& path, const QString& name, const QUrl& url);
// An application entry that file managers offer under "Open With" for the
// document types the program reads.
bool writeApplicationEntry(const QString& path, const QString& name, const QString& executable);

} // namespace env
