#pragma once
// Reads what the tree shows of one folder in one pass: its visible files that
// match the file-list patterns and its visible sub-folders, each sorted by
// name without regard to letter case.

#include <QStringList>

namespace browser {

class NamePatterns;

struct FolderContent {
    QStringList files;
    QStringList subfolders;
};

// Empty when the folder cannot be read.
FolderContent readFolder(const QString& folder, const NamePatterns& patterns);

} // namespace browser
