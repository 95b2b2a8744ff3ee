#include "fuzz/fuzzsupport.h"

#include "env/defaultanswers.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace fuzz {

namespace {

QTemporaryDir* scratch = nullptr;

// The user's own folders and per-user settings point into the scratch folder,
// so that the settings readers create and register nothing in the real home.
void confineUserFolders(const QString& home)
{
    for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        qputenv(name, (home + u'/' + QLatin1String(name)).toUtf8());
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        QDir().mkpath(home + u'/' + QLatin1String(name));
    QFile::setPermissions(home + QStringLiteral("/XDG_RUNTIME_DIR"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home + QStringLiteral("/XDG_CONFIG_HOME"));
}

} // namespace

void startUp(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's warnings about odd input would bury the fuzzer's own report; a fatal
    // message still ends the process after the handler.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // Both outlive every input; the process ends by leaving the fuzzer's loop.
    scratch = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/fumi-fuzz-XXXXXX"));
    std::atexit([] { delete scratch; });
    confineUserFolders(scratch->path());
    new QGuiApplication(*argc, *argv);
    env::setDialogs(new env::DefaultAnswers);
}

QString scratchFolder()
{
    return scratch->path();
}

QString scratchPath(const QString& relative)
{
    return scratch->filePath(relative);
}

QString writeScratch(const QString& relative, const QByteArray& bytes)
{
    const QString path = scratchPath(relative);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();   // the scratch folder is ours: failing to write it is the harness's fault
    return path;
}

void runPostedEvents()
{
    // Everything else first: events that are never delivered pile up in the
    // application's queue, and each later call walks the whole pile (the runs
    // slowed from thousands of inputs a second to hundreds). Deferred deletes
    // are sent only when asked for by name while no event loop runs.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace fuzz
