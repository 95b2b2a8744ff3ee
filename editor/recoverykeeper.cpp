#include "editor/recoverykeeper.h"

#include "env/replacingfile.h"

#include <QFile>

#include <algorithm>

namespace editor {

namespace {

void writeCopy(const QString& path, const RecoveryRecord& record)
{
    // A copy that cannot be written whole (a full disk) leaves the last one.
    env::ReplacingFile file(path);
    if (file.open() && file.device().write(encodeRecovery(record)) >= 0)
        file.commit();
}

} // namespace

RecoveryKeeper::RecoveryKeeper(const QString& workFolder, Take take, QObject* parent)
    : QObject(parent)
    , m_file(recoveryFileFor(workFolder))
    , m_lock(recoveryLockOf(m_file))
    , m_take(std::move(take))
{
    // Writes and removals keep the order they were asked in.
    m_writer.setMaxThreadCount(1);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::write);
}

RecoveryKeeper::~RecoveryKeeper()
{
    discard();
    flush();
    m_lock.unlock();
}

void RecoveryKeeper::changed()
{
    if (m_timer.isActive())
        return;
    const qint64 spacing = m_sinceWrite.isValid() ? kSpacingMs - m_sinceWrite.elapsed() : 0;
    m_timer.start(int(std::max<qint64>(kSettleMs, spacing)));
}

void RecoveryKeeper::discard()
{
    m_timer.stop();
    m_writer.start([path = m_file] { QFile::remove(path); });
}

void RecoveryKeeper::flush()
{
    m_writer.waitForDone();
}

void RecoveryKeeper::write()
{
    std::optional<RecoveryRecord> record = m_take();
    if (!record)
        return;
    // Locked before the first copy is there, so that no other run takes it
    // for one left behind; a run that never keeps a copy leaves no file.
    if (!m_lock.isLocked())
        m_lock.tryLock(0);
    m_sinceWrite.start();
    m_writer.start([path = m_file, record = std::move(*record)] { writeCopy(path, record); });
}

} // namespace editor
