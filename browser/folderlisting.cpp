#include "browser/folderlisting.h"

#include "browser/namepatterns.h"

#include <QDirIterator>
#include <algorithm>

namespace browser {

namespace {

// Case-insensitive order, with exact case as the tie-break so the order is stable.
void sortNames(QStringList& names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
}

} // namespace

FolderContent readFolder(const QString& folder, const NamePatterns& patterns)
{
    FolderContent content;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (it.fileInfo().isDir())
            content.subfolders << name;
        else if (patterns.matches(name))
            content.files << name;
    }
    sortNames(content.files);
    sortNames(content.subfolders);
    return content;
}

} // namespace browser
