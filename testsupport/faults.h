#pragma once
// Faults a save must survive, made for tests: a full disk, a read-only
// folder, and a kill at a chosen moment of a save run in a child process.

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <optional>
#include <sys/resource.h>

namespace testsupport {

// While it lives, no file the process writes grows past `bytes`
// (RLIMIT_FSIZE, with SIGXFSZ ignored so that a write fails instead).
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

// A folder for documents on a disk with little room: a tmpfs of its own
// mounted for the test where the process may mount one, filled up by
// fillLeaving(); elsewhere fillLeaving() sets a FileSizeLimit instead.
class FullDisk {
public:
    // Mounts the disk on `mountPoint` (an empty folder) when it can.
    explicit FullDisk(const QString& mountPoint);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    // The folder the test's documents go in (made on the disk).
    QString documents() const;
    // Takes the disk's room but `room` bytes; after the test's files are in place.
    void fillLeaving(qint64 room);
    // What fills the disk, for the test's log: "tmpfs" or "RLIMIT_FSIZE".
    QString kind() const { return m_mounted ? QStringLiteral("tmpfs") : QStringLiteral("RLIMIT_FSIZE"); }

private:
    QString m_mountPoint;
    bool m_mounted = false;
    std::optional<FileSizeLimit> m_limit;
};

// Makes `folder` read-only while it lives: by its permission bits where they
// stop this process, else (root) by a read-only bind mount of it on itself,
// else by its permission bits with this thread's CAP_DAC_OVERRIDE dropped.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // False when neither way works here; the test then cannot run.
    bool engaged() const { return m_how != How::None; }

private:
    enum class How { None, Permissions, BindMount, WithoutOverride };
    QString m_folder;
    QFileDevice::Permissions m_permissions;
    How m_how = How::None;
};

// How a save run in a child process ended.
enum class ChildEnd { Finished, Failed, Killed };

// Forks, runs `save` in the child (true: it succeeded) and kills the child
// with SIGKILL `delay` after it began, unless it ended before.
ChildEnd saveInChild(const std::function<bool()>& save, std::chrono::microseconds delay);
// How long `save` takes in a child that is left to finish; nullopt when it failed.
std::optional<std::chrono::microseconds> saveDurationInChild(const std::function<bool()>& save);

// The names in `folder`, hidden ones too, sorted.
QStringList entriesOf(const QString& folder);
QByteArray fileBytes(const QString& path);
// A PDF names the moment it was made; without those dates two complete
// PDFs of one document are the same bytes.
QByteArray withoutPdfDates(const QByteArray& bytes);

} // namespace testsupport
