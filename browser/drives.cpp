#include "browser/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace browser {

namespace {

// System mount points that hold nothing a user would browse for documents.
bool isSystemMount(const QString& root)
{
    static const QStringList userPlaces = {QStringLiteral("/media"), QStringLiteral("/mnt"),
                                           QStringLiteral("/run/media")};
    for (const QString& place : userPlaces)
        if (isInside(root, place))
            return false;
    static const QStringList systemPlaces = {
        QStringLiteral("/boot"), QStringLiteral("/dev"),  QStringLiteral("/etc"), QStringLiteral("/proc"),
        QStringLiteral("/run"),  QStringLiteral("/snap"), QStringLiteral("/sys"),
        QStringLiteral("/tmp"),  QStringLiteral("/var"),  QStringLiteral("/usr")};
    for (const QString& place : systemPlaces)
        if (isInside(root, place))
            return true;
    return false;
}

} // namespace

bool isInside(const QString& path, const QString& root)
{
    if (root == u"/")
        return path.startsWith(u'/');
    return path == root || (path.startsWith(root) && path.at(root.size()) == u'/');
}

QList<Drive> availableDrives()
{
    const QString home = QDir::cleanPath(QDir::homePath());
    QList<Drive> drives{{home, QStringLiteral("ﾎｰﾑ  ") + home}};
    if (home != u"/")
        drives.append({QStringLiteral("/"), QStringLiteral("/")});
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = QDir::cleanPath(volume.rootPath());
        const bool known = std::any_of(drives.cbegin(), drives.cend(),
                                       [&](const Drive& d) { return d.root == root; });
        if (known || !volume.isValid() || !volume.isReady() || isSystemMount(root)
            || !QFileInfo(root).isDir())
            continue;
        const QString name = volume.displayName();
        drives.append({root, name == root ? root : name + QStringLiteral("  ") + root});
    }
    return drives;
}

int driveIndexOf(const QList<Drive>& drives, const QString& path)
{
    int best = -1;
    for (int i = 0; i < drives.size(); ++i)
        if (isInside(path, drives[i].root)
            && (best < 0 || drives[i].root.size() > drives[best].root.size()))
            best = i;
    return best;
}

} // namespace browser
