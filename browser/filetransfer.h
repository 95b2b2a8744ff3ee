#pragma once
// Copies and moves files and folders on disk. A copied file is written to a
// temporary file beside its target and renamed into place, so a target never
// holds half a copy and an overwritten file stays intact until the new one is
// complete. Folders are copied recursively (to a bounded depth, symbolic links
// as links); moves rename where they can and copy-then-remove across file
// systems, removing the source only after a complete copy.

#include <QString>
#include <QStringList>
#include <functional>

namespace browser {

class FileTransfer {
public:
    // Called before each file with its source path; returning false stops the work.
    using Step = std::function<bool(const QString& source)>;

    static constexpr int kMaxDepth = 64;

    explicit FileTransfer(Step step = {});

    // Copies file or folder `source` to `target`; an existing target file is
    // replaced, an existing target folder receives the source's content.
    bool copy(const QString& source, const QString& target);
    // Moves `source` to `target` with the same rules.
    bool move(const QString& source, const QString& target);

    // Files below `path` (1 for a file), for progress; counting stops at `limit`.
    static int countFiles(const QString& path, int limit = 1000000);

    bool stopped() const { return m_stopped; }
    // Sources that could not be copied or moved.
    const QStringList& failures() const { return m_failures; }

private:
    using EntryWork = bool (FileTransfer::*)(const QString& source, const QString& target, int depth);

    bool copyEntry(const QString& source, const QString& target, int depth);
    bool copyFile(const QString& source, const QString& target);
    bool copyFolder(const QString& source, const QString& target, int depth);
    bool moveEntry(const QString& source, const QString& target, int depth);
    bool mergeFolder(const QString& source, const QString& target, int depth);
    // Runs `work` on each entry of folder `source` with its place below `target`;
    // false when any failed or the work was stopped.
    bool eachChild(const QString& source, const QString& target, int depth, EntryWork work);
    bool step(const QString& source);
    bool fail(const QString& source);

    Step m_step;
    bool m_stopped = false;
    QStringList m_failures;
};

} // namespace browser
