#pragma once
// A scratch folder beside the user's document in which a save is prepared,
// and the step that puts its result in place of the user's files: either the
// new document and picture folder both replace the old ones, or nothing of
// the old ones changes.

#include <QString>
#include <QTemporaryDir>

namespace html {

class ScratchSave {
public:
    explicit ScratchSave(const QString& targetPath);

    bool isValid() const { return m_dir.isValid(); }
    // Where the document is prepared: the target's file name in the scratch folder.
    QString preparedPath() const;
    // Puts the prepared picture folder ("<stem>_files"), when there is one, in
    // place of the target's.
    bool placePictures();
    // Puts the prepared picture folder and then `text` in place of the
    // target's; on failure the picture folder is put back as it was.
    bool commit(QStringView text);

private:
    QString targetPictures() const;
    QString preparedPictures() const;
    QString previousPictures() const;
    void restorePictures();

    QString m_target;
    QTemporaryDir m_dir;
    bool m_placedNew = false;
    bool m_movedPrevious = false;
};

} // namespace html
