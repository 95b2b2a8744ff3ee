#pragma once
// A scratch folder beside the user's document in which a save is prepared,
// and the step that puts its result in place of the user's files: either the
// new document and picture folder both replace the old ones, or nothing of
// the old ones changes.
//
// Putting the result in place takes several renames. Before the first one a
// journal in the scratch folder names the document and its picture folder;
// from then on everything the new version needs is in the scratch folder, so
// a save that was stopped half-way (the program killed, the power gone) is
// finished by recoverFolder: the next save into that folder, opening an HTML
// document from it and the next start of the program (for the work folder)
// run it. A scratch folder without
// a journal never touched the user's files and is simply removed.

#include <QString>
#include <QTemporaryDir>
#include <functional>

namespace html {

// The steps of putting a save in place, in order.
enum class SaveStep { JournalWritten, OldPicturesAside, NewPicturesPlaced, DocumentPlaced };

class ScratchSave {
public:
    // Finishes the interrupted saves in the target's folder first.
    explicit ScratchSave(const QString& targetPath);

    bool isValid() const { return m_dir.isValid(); }
    // Where the document is prepared: the target's file name in the scratch folder.
    QString preparedPath() const;
    // Puts the prepared picture folder ("<stem>_files"), when there is one, in
    // place of the target's.
    bool placePictures();
    // Puts the prepared picture folder and then the document the caller has
    // written to preparedPath() in place of the target's; on failure the
    // picture folder is put back as it was.
    bool commitPrepared();

    // Finishes every interrupted save in `folder` and removes its scratch
    // folders, and the scratch files of saves of other kinds; a folder that
    // cannot be finished yet is kept for the next time.
    static void recoverFolder(const QString& folder);
    // Called after each step (for tests that stop a save there); null: none.
    static void setStepHook(std::function<void(SaveStep)> hook);

private:
    QString targetPictures() const;
    QString preparedPictures() const;
    bool writeJournal(bool withDocument) const;
    bool placePicturesJournaled(bool withDocument);
    void restorePictures();

    QString m_target;
    QTemporaryDir m_dir;
    bool m_placedNew = false;
    bool m_movedPrevious = false;
};

} // namespace html
