#pragma once
// The tree's file operations with their questions and messages: pasting
// copied or cut files into a folder (asking before each overwrite), moving
// files to the trash, renaming a file and creating a new empty document.
// Every question and failure reaches the user through env::dialogs().

#include "browser/fileclipboard.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace browser {

class NamePatterns;

class FileOperations {
public:
    // `owner` parents the progress dialog of long copies; may be null.
    explicit FileOperations(QWidget* owner = nullptr);

    // Copies or moves `files` into `folder`. Returns the names now in the
    // folder that came from the paste, for selecting them.
    QStringList paste(const ClipboardFiles& files, const QString& folder);
    // Moves `paths` to the trash after one question; true when any moved.
    bool moveToTrash(const QStringList& paths);
    // Asks for a new name of `path` and renames it; the new path, or "".
    QString rename(const QString& path);
    // Asks for the name of a new empty document in `folder` (proposing one
    // that is free) and creates it; its path, or "".
    QString createDocument(const QString& folder, const NamePatterns& documents);

    // "a.htm" -> "a - ｺﾋﾟｰ.htm", "a - ｺﾋﾟｰ (2).htm", ... : the first name free in `folder`.
    static QString freeCopyName(const QString& folder, const QString& name);
    // "新規文書.htm", "新規文書 (2).htm", ... : the first name free in `folder`.
    static QString freeNewName(const QString& folder);
    // An entered file name the file system accepts, or "" (with no message).
    static QString validFileName(const QString& entered);

private:
    struct Transfer {
        QString source;
        QString target;
    };

    QList<Transfer> plan(const ClipboardFiles& files, const QString& folder, bool& cancelled);
    QStringList run(const QList<Transfer>& transfers, bool move);

    QWidget* m_owner;
};

} // namespace browser
