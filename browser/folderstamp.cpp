#include "browser/folderstamp.h"

#include <QFileInfo>

namespace browser {

QDateTime FolderStamp::modifiedTime(const QString& folder)
{
    return QFileInfo(folder).fileTime(QFileDevice::FileModificationTime);
}

void FolderStamp::take(const QString& folder)
{
    m_folder = folder;
    m_time = modifiedTime(folder);
}

bool FolderStamp::changed(const QString& folder) const
{
    return folder != m_folder || modifiedTime(folder) != m_time;
}

} // namespace browser
