#pragma once
// The places the drive list offers: the home folder, the file-system root and
// the mounted volumes a user works with (USB sticks, other disks, shares).

#include <QList>
#include <QString>

namespace browser {

struct Drive {
    QString root;    // absolute path without a trailing "/" (except "/")
    QString label;   // what the list shows
};

// Home first, then "/", then the volumes below /media, /mnt, /run/media and
// other real disks, each root once.
QList<Drive> availableDrives();
// Index in `drives` of the drive holding `path`: the one with the longest
// root that contains it; -1 when none does.
int driveIndexOf(const QList<Drive>& drives, const QString& path);
// True when `path` is `root` or lies below it.
bool isInside(const QString& path, const QString& root);

} // namespace browser
