#pragma once
// Keeps this run's recovery copy up to date while the document is edited: a
// moment after a change, and then at most every ten seconds while changes go
// on. The document is taken (as snapshot bytes) on the thread that owns it;
// the file is composed and written, atomically, on a thread of the keeper's
// own, so that a long document costs the user no pause beyond the taking.
// A document that is no longer edited (saved, replaced, new) has no copy,
// nor has a run that ended cleanly.

#include "editor/recoverycopy.h"

#include <QElapsedTimer>
#include <QLockFile>
#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <optional>

namespace editor {

class RecoveryKeeper : public QObject {
public:
    // `take` gives the document as it stands, or nullopt when there is
    // nothing to keep.
    using Take = std::function<std::optional<RecoveryRecord>()>;

    RecoveryKeeper(const QString& workFolder, Take take, QObject* parent = nullptr);
    // A clean end: the copy goes.
    ~RecoveryKeeper() override;

    // The document changed: a copy follows within the keeper's delays.
    void changed();
    // The document is no longer edited: its copy goes.
    void discard();
    // Waits until every copy asked for has been written or removed.
    void flush();

    QString file() const { return m_file; }
    // How long until the next copy is taken; −1 when none is due.
    int msUntilNextCopy() const { return m_timer.isActive() ? m_timer.remainingTime() : -1; }

    // A change waits this long, so that typing does not write at every key.
    static constexpr int kSettleMs = 2000;
    // Never two copies closer together than this.
    static constexpr int kSpacingMs = 10000;

private:
    void write();

    QString m_file;
    QLockFile m_lock;
    Take m_take;
    QTimer m_timer;
    QElapsedTimer m_sinceWrite;
    QThreadPool m_writer;
};

} // namespace editor
