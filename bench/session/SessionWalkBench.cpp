// The walk and filtering of a backup session over a generated tree of 100,000
// files, against `find <tree> -type f` in the same run: the walk alone, and
// with the kept files measured beside it as the session does for its total
// (against find printing each file's size, a status call per file); then the
// session driver's peak memory growth while it lists 20,000 paths and then
// 100,000 (TX_BENCH_LISTED_PATHS=1000000 for a million) through an engine
// that does nothing: bounded by the block size, the two figures are close.

#include "common/context/ProgramContext.h"
#include "session/enumeration/FileSizeTally.h"
#include "session/enumeration/FolderEnumerator.h"
#include "session/enumeration/folderEnumeratorDelegateProtocol.h"
#include "session/filtering/ExclusionFilter.h"
#include "session/manager/RuvoBackupManager.h"

#include "PeakMemory.h"
#include "SessionEndWaiter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWalkFiles = 100000;
constexpr int kFilesPerFolder = 100;

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

// Empty files, kFilesPerFolder to a folder.
QString makeTree(const QString &name, int files)
{
    const QString tree = scratch().path() + "/" + name;
    for (int i = 0; i < files; ++i) {
        const QString folder = QStringLiteral("%1/d%2").arg(tree).arg(i / kFilesPerFolder);
        if (i % kFilesPerFolder == 0)
            QDir().mkpath(folder);
        QFile(QStringLiteral("%1/f%2").arg(folder).arg(i)).open(QIODevice::WriteOnly);
    }
    return tree;
}

const QString &walkTree()
{
    static const QString tree = makeTree("walk", kWalkFiles);
    return tree;
}

// Walks as a backup session does: files singly, filtered per batch of 10,000,
// the kept ones measured by the tally when there is one.
class FilteringWalk : public folderEnumeratorDelegateProtocol
{
public:
    explicit FilteringWalk(FileSizeTally *tally)
        : mTally(tally)
    {}

    void didFoundFile(const QString &path, quint64) override
    {
        mBatch << path;
        if (mBatch.size() >= 10000)
            flush();
    }
    void didEndCalculation() override
    {
        flush();
        if (mTally)
            mTally->waitUntilCounted();
    }
    qsizetype accepted = 0;

private:
    void flush()
    {
        ExclusionFilter::Settings settings;
        settings.defaults = {{"/proc", true}, {"/sys", true}};
        settings.partial = {{"~lock", true}};
        const QStringList kept = ExclusionFilter(settings, "/media/bench").getBackupSetAfterFiltration(mBatch).accepted;
        if (mTally)
            mTally->add(kept);
        accepted += kept.size();
        mBatch.clear();
    }
    FileSizeTally *mTally;
    QStringList mBatch;
};

// Wall times of every run, by benchmark: find works in a child process, so
// only the wall clock compares it with the walk in this one.
std::map<std::string, std::vector<double>> gWallSeconds;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

template <typename Work>
void timeRuns(benchmark::State &state, const std::string &name, const Work &work)
{
    qsizetype files = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        files = work();
        gWallSeconds[name].push_back(clock.nsecsElapsed() / 1e9);
    }
    if (files != kWalkFiles)
        std::fprintf(stderr, "%s: %lld files of %d\n", name.c_str(), qlonglong(files), kWalkFiles);
    state.counters["files/s"] = benchmark::Counter(double(files), benchmark::Counter::kIsIterationInvariantRate);
}

qsizetype runFind(const QStringList &extraArguments)
{
    QProcess find;
    find.start("find", QStringList{walkTree(), "-type", "f"} + extraArguments);
    find.waitForFinished(-1);
    return find.readAllStandardOutput().count('\n');
}

void BM_Find(benchmark::State &state)
{
    timeRuns(state, "find", [] { return runFind({}); });
}

// find as it must work to know sizes too: one status call per file, as the walk makes.
void BM_FindWithSizes(benchmark::State &state)
{
    timeRuns(state, "find with sizes", [] { return runFind({"-printf", "%s\n"}); });
}

void walkAndFilter(benchmark::State &state, std::chrono::microseconds pause, bool measure, const std::string &name)
{
    timeRuns(state, name, [pause, measure] {
        std::atomic<quint64> bytes{0};
        const std::unique_ptr<FileSizeTally> tally(measure ? new FileSizeTally(bytes) : nullptr);
        FilteringWalk walk(tally.get());
        FolderEnumerator walker(FolderWalkTimings{pause});
        walker.setDelegate(&walk);
        walker.setMBackupMode(true);
        walker.setMeasuresFiles(false);
        walker.shouldEnumerateFolder(true);
        walker.getFolderSize({walkTree()});
        return walk.accepted;
    });
}

void BM_WalkAndFilter(benchmark::State &state) { walkAndFilter(state, std::chrono::microseconds(0), false, "walk"); }

// The session's whole listing: over when the last kept file is measured.
void BM_WalkFilterAndMeasure(benchmark::State &state)
{
    walkAndFilter(state, std::chrono::microseconds(0), true, "walk and measure");
}

// With the product's pause of 1 ms every 50 entries.
void BM_WalkAndFilterWithPauses(benchmark::State &state)
{
    walkAndFilter(state, FolderWalkTimings().walkPause, true, "walk with pauses");
}

BENCHMARK(BM_Find)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FindWithSizes)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WalkAndFilter)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WalkFilterAndMeasure)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WalkAndFilterWithPauses)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// The walk's rate as a share of find's, from the median wall times.
void printRates()
{
    std::printf("\nrates against find (medians of the wall times):\n");
    for (const char *walk : {"walk", "walk and measure", "walk with pauses"})
        for (const char *find : {"find", "find with sizes"})
            if (gWallSeconds.count(walk) && gWallSeconds.count(find))
                std::printf("  %-16s / %-15s %3.0f%% (%.0f ms / %.0f ms)\n", walk, find,
                            100 * median(gWallSeconds[find]) / median(gWallSeconds[walk]),
                            median(gWallSeconds[walk]) * 1000, median(gWallSeconds[find]) * 1000);
}

// --- Peak memory of the session driver ---

void reportSessionMemory(int paths)
{
    std::printf("\nmaking %d files for the session's listing...\n", paths);
    std::fflush(stdout);
    const QString tree = makeTree(QStringLiteral("listed%1").arg(paths), paths);
    const QString engine = scratch().path() + "/no-op-engine";
    QFile script(engine);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\nexit 0\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    SessionTimings timings;
    timings.firstLaunchSettle = std::chrono::milliseconds(0);
    timings.walk.walkPause = std::chrono::microseconds(0);
    timings.engine.poll = std::chrono::milliseconds(5);
    timings.engine.finishGrace = std::chrono::milliseconds(1);
    timings.engine.finishNotice = std::chrono::milliseconds(1);
    SessionEndWaiter waiter;
    RuvoBackupManager manager(timings);
    manager.setDelegate(&waiter);
    // A folder of its own for each session: a session never removes what lies outside the program's folders.
    manager.setApplicationSupportFolder(QStringLiteral("%1/app%2").arg(scratch().path()).arg(paths));
    manager.setBackupSourceFolder("/");
    manager.setDestinationPath(scratch().path() + "/drive/TarnixVidezud/bench/Mac");
    manager.createTempFilePaths();
    manager.userInfo().setUserName("bench");
    manager.userInfo().setRuvoServerIP("127.0.0.1");
    manager.userInfo().setPort("--port=443");
    manager.userInfo().setMEncodedKey("k");
    manager.userInfo().setMEncodedPassword("p");
    manager.setExecutorPath(engine);
    manager.setFileFolderSetForOperation({tree});

    const bool ownPeak = PeakMemory::resetPeakResident();
    const long before = PeakMemory::statusKiB(ownPeak ? "VmRSS:" : "VmHWM:");
    QElapsedTimer clock;
    clock.start();
    manager.startBackup();
    waiter.waitForEnd();
    const long peak = PeakMemory::statusKiB("VmHWM:");
    std::printf("session over %d listed paths: %s in %.1f s, %ld blocks; resident %ld KiB before, peak %ld KiB "
                "(+%ld KiB)%s\n",
                paths, qPrintable(waiter.end), clock.elapsed() / 1000.0, manager.blocksWritten(), before, peak,
                peak - before, ownPeak ? "" : " (peak of the whole process: the kernel cannot reset it)");
    std::fflush(stdout);
    QDir(tree).removeRecursively();
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Every file the program writes stays in the scratch folder.
    for (const char *root : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR",
                             "TX_SUPPORT_ROOT", "TX_VOLUMES_ROOT"}) {
        const QString folder = scratch().path() + "/roots/" + root;
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(root, folder.toUtf8());
    }
    qputenv("TX_RESOURCES", TX_RESOURCES_PATH);
    ProgramContext context;
    benchmark::Initialize(&argc, argv);
    walkTree();  // the tree is made before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printRates();
    const int paths = qEnvironmentVariableIsSet("TX_BENCH_LISTED_PATHS")
                          ? qEnvironmentVariableIntValue("TX_BENCH_LISTED_PATHS")
                          : 100000;
    for (int listed : {20000, paths})
        reportSessionMemory(listed);
    return 0;
}
