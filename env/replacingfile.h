#pragma once
// ReplacingFile: writes a file so that it replaces another whole or not at
// all. The bytes go to a scratch file beside the file's real place (a target
// that is a symbolic link stays one, and the file it leads to gets the
// bytes); a commit gives the scratch the target's name in one rename, with
// the old file's permissions. Until then the old file is as it was.
//
// A program killed while writing cannot remove its scratch, so the scratch
// has a name this program alone gives (".fumi-part-" and six letters or
// digits): removeLeftovers takes such files out of a folder; opening one
// removes the leftovers of its folder first. A scratch whose writer still
// runs (another instance of the program) is locked and left alone.

#include <QFile>
#include <QString>

namespace env {

class ReplacingFile {
public:
    explicit ReplacingFile(const QString& target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Makes the scratch file; false when the folder takes no new file.
    bool open();
    // Where the bytes go between open() and commit().
    QIODevice& device() { return m_scratch; }
    // Puts the scratch in the target's place when every byte reached the
    // disk; otherwise removes it and leaves the target alone.
    bool commit();

    // Removes the scratch files in `folder` that no running writer holds.
    static void removeLeftovers(const QString& folder);

private:
    // A file that remembers a write the disk took only in part (a full disk
    // takes what fits and refuses the rest without an error on the device).
    class Scratch : public QFile {
    public:
        bool shortened() const { return m_shortened; }

    protected:
        qint64 writeData(const char* data, qint64 size) override;

    private:
        bool m_shortened = false;
    };

    void discard();

    QString m_final; // the target with its symbolic links followed
    Scratch m_scratch;
};

} // namespace env
