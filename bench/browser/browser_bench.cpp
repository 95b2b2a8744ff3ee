// The document tree on a folder of 10,000 files, offscreen: reading the
// folder, starting the tree on it, the periodic check when nothing changed,
// and the refresh after one file appeared (the selection kept).

#include "bench/benchmain.h"
#include "browser/folderlisting.h"
#include "browser/folderstamp.h"
#include "browser/namepatterns.h"
#include "browser/utre.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kFiles = 10000;

// One folder shared by every benchmark: half documents, half other files.
const QTemporaryDir& bigFolder()
{
    static QTemporaryDir dir;
    static const bool filled = [] {
        for (int i = 0; i < kFiles; ++i) {
            QFile file(dir.filePath(QStringLiteral("文書%1.%2").arg(i, 5, 10, QChar(u'0'))
                                        .arg(i % 2 ? QStringLiteral("htm") : QStringLiteral("txt"))));
            if (!file.open(QIODevice::WriteOnly))
                return false;
        }
        return true;
    }();
    Q_UNUSED(filled);
    return dir;
}

const QString kDocuments = QStringLiteral("*.htm;*.html;*.rtf");

void ReadFolder(benchmark::State& state)
{
    const browser::NamePatterns all(QStringLiteral("*.*"));
    for (auto _ : state)
        benchmark::DoNotOptimize(browser::readFolder(bigFolder().path(), all));
}
BENCHMARK(ReadFolder)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

void StartTree(benchmark::State& state)
{
    for (auto _ : state) {
        browser::uTrE tree;
        tree.resize(300, 800);
        tree.show();
        tree.cOn(bigFolder().path(), QStringLiteral("*.*"), kDocuments);
        QApplication::processEvents();
    }
}
BENCHMARK(StartTree)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

// What each 1,500 ms check costs while nothing changes: one look at the folder's time.
void TimerCheckUnchanged(benchmark::State& state)
{
    browser::FolderStamp stamp;
    stamp.take(bigFolder().path());
    for (auto _ : state)
        benchmark::DoNotOptimize(stamp.changed(bigFolder().path()));
}
BENCHMARK(TimerCheckUnchanged)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

// A forced refresh (UdtFld) of an unchanged folder: read again, nothing redrawn.
void ForcedRefreshUnchanged(benchmark::State& state)
{
    browser::uTrE tree;
    tree.cOn(bigFolder().path(), QStringLiteral("*.*"), kDocuments);
    for (auto _ : state)
        tree.UdtFld();
}
BENCHMARK(ForcedRefreshUnchanged)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

// A file appeared: the lists are read again and the selection put back.
void RefreshAfterNewFile(benchmark::State& state)
{
    browser::uTrE tree;
    tree.resize(300, 800);
    tree.show();
    tree.cOn(bigFolder().path() + QStringLiteral("/文書05001.htm"), QStringLiteral("*.*"), kDocuments);
    const QString extra = bigFolder().filePath(QStringLiteral("文書00000a.htm"));
    bool present = false;
    for (auto _ : state) {
        state.PauseTiming();
        if (present)
            QFile::remove(extra);
        else
            QFile(extra).open(QIODevice::WriteOnly);
        present = !present;
        state.ResumeTiming();
        tree.UdtFld();
        QApplication::processEvents();
    }
    QFile::remove(extra);
}
BENCHMARK(RefreshAfterNewFile)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    return benchsupport::runBenchmarks(argc, argv);
}
