#include "formats/doc/libreofficeconverter.h"

#include "engine/filebytes.h"
#include "env/globals.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QCursor>
#include <QGuiApplication>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace formats::doc {

namespace {

constexpr int kPollMilliseconds = 100;
constexpr int kEndingMilliseconds = 5000;

bool conversionRunning = false; // conversions of this process are one at a time

// Marks a conversion of this process as running for its lifetime.
class RunningConversion {
public:
    RunningConversion() { conversionRunning = true; }
    ~RunningConversion() { conversionRunning = false; }
    RunningConversion(const RunningConversion&) = delete;
    RunningConversion& operator=(const RunningConversion&) = delete;
};

// Holds off the user's input while a conversion lets the event loop run:
// windows repaint and resize, but no key, click or close request reaches
// them, so no second command starts. The cursor shows the wait.
class BusyState : public QObject {
public:
    BusyState()
    {
        if (QCoreApplication* application = QCoreApplication::instance())
            application->installEventFilter(this);
        m_cursor = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
        if (m_cursor)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~BusyState() override
    {
        if (m_cursor)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyState(const BusyState&) = delete;
    BusyState& operator=(const BusyState&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (!isUserRequest(event->type()))
            return false;
        event->ignore();
        return true;
    }

private:
    static bool isUserRequest(QEvent::Type type)
    {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::Close:
            return true;
        default:
            return false;
        }
    }

    bool m_cursor = false;
};

// Lets events run for about `milliseconds`.
void letEventsRun(int milliseconds)
{
    if (!QCoreApplication::instance())
        return;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Takes `lock`, letting events run while another process holds it; false
// when it was not free before `deadline`.
bool takeLock(QLockFile& lock, const QDeadlineTimer& deadline)
{
    while (!lock.tryLock(0)) {
        if (deadline.hasExpired() || lock.error() == QLockFile::PermissionError
            || lock.error() == QLockFile::UnknownError)
            return false;
        letEventsRun(kPollMilliseconds);
    }
    return true;
}

// Lets events run until `process` ends; false when `deadline` came first.
bool waitForEnd(QProcess& process, const QDeadlineTimer& deadline)
{
    if (!QCoreApplication::instance())
        return process.waitForFinished(int(deadline.remainingTime()));
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    while (process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        timer.start(int(std::max<qint64>(1, deadline.remainingTime())));
        loop.exec();
    }
    return process.state() == QProcess::NotRunning;
}

// LibreOffice's launcher starts the office process as its child; both are
// ended, as one process group.
void endProcessGroup(QProcess& process)
{
#ifdef Q_OS_UNIX
    if (process.processId() > 0)
        ::kill(-pid_t(process.processId()), SIGKILL);
#endif
    process.kill();
    process.waitForFinished(kEndingMilliseconds);
}

bool writeScratch(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QString scratchParent(const QString& chosen)
{
    if (!chosen.isEmpty())
        return chosen;
    if (!env::gsWrkPh.isEmpty() && QFileInfo(env::gsWrkPh).isDir())
        return env::gsWrkPh;
    return QDir::tempPath();
}

} // namespace

QString failureMessage(ConversionFailure failure)
{
    switch (failure) {
    case ConversionFailure::None:
        break;
    case ConversionFailure::NotInstalled:
        return QStringLiteral("Word 97-2003 の文書 (.doc) の読み書きには LibreOffice が必要です｡"
                              " LibreOffice をｲﾝｽﾄｰﾙしてください"
                              " (Debian: sudo apt install libreoffice-writer-nogui)｡");
    case ConversionFailure::Busy:
        return QStringLiteral("ほかの LibreOffice の変換が終わらないため変換できません｡");
    case ConversionFailure::Scratch:
        return QStringLiteral("作業ﾌｫﾙﾀﾞに変換用のﾌｧｲﾙを書き込めません｡");
    case ConversionFailure::TimedOut:
        return QStringLiteral("LibreOffice の変換が時間内に終わらないため中止しました｡");
    case ConversionFailure::NotConverted:
        return QStringLiteral("ﾌｧｲﾙが壊れているか､ﾊﾟｽﾜｰﾄﾞで保護されています｡");
    case ConversionFailure::Crashed:
        return QStringLiteral("LibreOffice が変換に失敗しました｡");
    case ConversionFailure::TooLarge:
        return QStringLiteral("文書が大きすぎます｡");
    }
    return {};
}

LibreOfficeConverter::LibreOfficeConverter(ConverterSetup setup)
    : m_setup(std::move(setup))
{
}

QString LibreOfficeConverter::program() const
{
    if (!m_setup.program.isEmpty()) {
        const QFileInfo given(m_setup.program);
        if (given.isAbsolute())
            return given.isFile() && given.isExecutable() ? given.absoluteFilePath() : QString();
        return QStandardPaths::findExecutable(m_setup.program);
    }
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    return soffice.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("libreoffice")) : soffice;
}

QString LibreOfficeConverter::profileFolder() const
{
    if (!m_setup.profileFolder.isEmpty())
        return m_setup.profileFolder;
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/libreoffice-profile");
}

Conversion LibreOfficeConverter::convert(const QByteArray& bytes, const QString& inputExtension,
                                         const QString& inputFilter, const QString& outputExtension,
                                         const QString& outputFilter) const
{
    const QString executable = program();
    if (executable.isEmpty())
        return {ConversionFailure::NotInstalled, {}};
    if (conversionRunning)
        return {ConversionFailure::Busy, {}};
    const RunningConversion running;
    const BusyState busy;
    const auto done = [](ConversionFailure failure, QByteArray result = {}) {
        return Conversion{failure, std::move(result)};
    };

    const QString profile = profileFolder();
    QLockFile lock(profile + QStringLiteral(".lock"));
    lock.setStaleLockTime(0); // a long conversion is not a stale lock; a dead owner is
    if (!QDir().mkpath(QFileInfo(profile).absolutePath()))
        return done(ConversionFailure::Scratch);
    if (!takeLock(lock, QDeadlineTimer(m_setup.timeLimit)))
        return done(ConversionFailure::Busy);

    const QTemporaryDir scratch(scratchParent(m_setup.scratchFolder) + QStringLiteral("/fumi-convert-XXXXXX"));
    const QString input = scratch.filePath(QStringLiteral("document.") + inputExtension);
    const QString outFolder = scratch.filePath(QStringLiteral("out"));
    if (!scratch.isValid() || !writeScratch(input, bytes))
        return done(ConversionFailure::Scratch);

    QProcess process;
    process.setProgram(executable);
    process.setArguments({QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(),
                          QStringLiteral("--headless"), QStringLiteral("--invisible"), QStringLiteral("--norestore"),
                          QStringLiteral("--nologo"), QStringLiteral("--nodefault"), QStringLiteral("--nolockcheck"),
                          QStringLiteral("--infilter=") + inputFilter, QStringLiteral("--convert-to"),
                          outputExtension + u':' + outputFilter, QStringLiteral("--outdir"), outFolder, input});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
#ifdef Q_OS_UNIX
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
    process.start();
    if (!waitForEnd(process, QDeadlineTimer(m_setup.timeLimit))) {
        endProcessGroup(process);
        return done(ConversionFailure::TimedOut);
    }
    if (process.error() == QProcess::FailedToStart || process.exitStatus() == QProcess::CrashExit)
        return done(ConversionFailure::Crashed);

    QFile result(outFolder + QStringLiteral("/document.") + outputExtension);
    if (!result.open(QIODevice::ReadOnly))
        return done(process.exitCode() == 0 ? ConversionFailure::NotConverted : ConversionFailure::Crashed);
    if (result.size() > m_setup.maxResultBytes)
        return done(ConversionFailure::TooLarge);
    std::optional<QByteArray> converted = engine::readFileBytes(result, m_setup.maxResultBytes);
    if (!converted)
        return done(ConversionFailure::Scratch);
    return done(ConversionFailure::None, std::move(*converted));
}

} // namespace formats::doc
