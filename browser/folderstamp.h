#pragma once
// Remembers when a folder last changed, so a periodic check can tell cheaply
// whether its lists must be read again.

#include <QDateTime>
#include <QString>

namespace browser {

class FolderStamp {
public:
    // Takes the folder's present modification time; call it just before the
    // folder is read, so that a change during the reading is seen next time.
    void take(const QString& folder);
    // True when `folder` is another folder or its modification time differs
    // from the one taken. Any difference counts, not only a later time: a
    // file system whose clock runs behind ours must not hide changes.
    bool changed(const QString& folder) const;

private:
    static QDateTime modifiedTime(const QString& folder);

    QString m_folder;
    QDateTime m_time;
};

} // namespace browser
