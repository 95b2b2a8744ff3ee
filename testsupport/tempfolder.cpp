#include "testsupport/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

TempFolder::TempFolder() = default;

QString TempFolder::path(const QString& relative) const
{
    return relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative);
}

QString TempFolder::write(const QString& relative, const QByteArray& bytes) const
{
    const QString p = path(relative);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return p;
}

QByteArray TempFolder::read(const QString& relative) const
{
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace testsupport
