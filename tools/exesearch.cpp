#include "tools/exesearch.h"

#include "tools/companions.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace tools {

namespace {

QFileInfoList subFolders(const QString& folder)
{
    return QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

bool isNamed(const QFileInfo& folder, const QString& name)
{
    return folder.fileName().compare(name, Qt::CaseInsensitive) == 0;
}

bool isSameFolder(const QFileInfo& folder, const QString& other)
{
    return !other.isEmpty() && folder.absoluteFilePath() == QFileInfo(other).absoluteFilePath();
}

// The first sub-folder of `folder` named `name`, skipping `skipped`.
std::optional<QString> namedSubFolder(const QString& folder, const QString& name, const QString& skipped)
{
    for (const QFileInfo& sub : subFolders(folder)) {
        if (!isSameFolder(sub, skipped) && isNamed(sub, name))
            return sub.absoluteFilePath();
    }
    return std::nullopt;
}

// The folder's parent; "" at the root, where there is none.
QString parentOf(const QString& folder)
{
    QDir dir(folder);
    const QString before = dir.absolutePath();
    if (!dir.cdUp() || dir.absolutePath() == before)
        return {};
    return dir.absolutePath();
}

} // namespace

QString findCompanionExecutable(const QString& programFolder, const QString& name)
{
    const QString parent = parentOf(programFolder);
    if (parent.isEmpty())
        return {};
    if (const std::optional<QString> found = namedSubFolder(parent, name, {}))
        return executableIn(*found, name);
    const QString grandParent = parentOf(parent);
    if (grandParent.isEmpty())
        return {};
    for (const QFileInfo& sibling : subFolders(grandParent)) {
        if (isSameFolder(sibling, parent))
            continue;
        if (isNamed(sibling, name))
            return executableIn(sibling.absoluteFilePath(), name);
        if (const std::optional<QString> found = namedSubFolder(sibling.absoluteFilePath(), name, parent))
            return executableIn(*found, name);
    }
    return {};
}

} // namespace tools
