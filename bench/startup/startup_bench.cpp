// Start-up to the idle main window, offscreen: user data folder, settings,
// main window shown and every pending event handled, then a normal close.

#include "bench/benchmain.h"
#include "app/fmdoc.h"
#include "app/startup.h"
#include "env/defaultanswers.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void StartToIdleWindow(benchmark::State& state)
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath(QStringLiteral("config")));
    QDir().mkpath(dir.filePath(QStringLiteral("prog")));
    QDir().mkpath(dir.filePath(QStringLiteral("data")));
    QFile ini(dir.filePath(QStringLiteral("prog/UserData.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        state.SkipWithError("cannot write UserData.ini");
    ini.write(dir.filePath(QStringLiteral("data")).toUtf8());
    ini.close();
    env::DefaultAnswers dialogs;
    env::setDialogs(&dialogs);
    for (auto _ : state) {
        app::fmDoc* window = app::Main({dir.filePath(QStringLiteral("prog/fumi")), {}});
        QApplication::processEvents();
        state.PauseTiming();
        window->close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(StartToIdleWindow)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

// The whole cold start as a user sees it: a new process that creates the
// application, starts up, reaches the idle window and exits.
void ProcessStartToIdleWindow(benchmark::State& state)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("data")));
    for (auto _ : state) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child")});
        if (!child.waitForFinished(30000) || child.exitCode() != 0)
            state.SkipWithError("the child start-up failed");
    }
}
BENCHMARK(ProcessStartToIdleWindow)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true)->UseRealTime();

// Child side: one real start-up, then exit once the window is idle.
int runChild(int argc, char** argv)
{
    QApplication app(argc, argv);
    env::DefaultAnswers dialogs;
    env::setDialogs(&dialogs);
    QTemporaryDir program;
    QFile ini(program.filePath(QStringLiteral("UserData.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return 1;
    ini.write("%usr%");
    ini.close();
    app::fmDoc* window = app::Main({program.filePath(QStringLiteral("fumi")), {}});
    QApplication::processEvents();
    window->close();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argc, argv);
    return benchsupport::runBenchmarks(argc, argv);
}
