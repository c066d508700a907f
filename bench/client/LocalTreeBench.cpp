// Lists a folder of 100,000 files into the local tree and checks it, against
// `find` over the same folder; prints the ratio and the longest time the main
// thread was held up, which is what a user of the window would feel.

#include "client/backup/localtree/FileSystemController.h"
#include "client/backup/localtree/TreeViewController.h"
#include "common/context/ProgramContext.h"
#include "common/files/TXSupportFileManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

constexpr int kFiles = 100000;

struct Workspace
{
    QTemporaryDir dir;
    QString startup() const { return dir.path() + "/startup"; }
    QString folder() const { return startup() + "/big"; }

    Workspace()
    {
        // The set and size files go to the workspace too.
        qputenv("XDG_DATA_HOME", (dir.path() + "/data").toUtf8());
        qputenv("TX_SUPPORT_ROOT", (dir.path() + "/support").toUtf8());
        QDir().mkpath(startup() + "/home/me");
        QDir().mkpath(dir.path() + "/volumes");
        QDir().mkpath(folder());
        for (int i = 0; i < kFiles; ++i) {
            QFile file(QStringLiteral("%1/file%2.txt").arg(folder()).arg(i));
            if (!file.open(QIODevice::WriteOnly))
                std::abort();
        }
    }

    LocalVolumeLayout layout() const
    {
        return {dir.path() + "/volumes", startup(), QStringLiteral("Startup"), startup() + "/home/me"};
    }
};

Workspace &workspace()
{
    static Workspace instance;
    return instance;
}

std::map<std::string, double> gSecondsPerRun;
qint64 gLongestStallMs = 0;

// Runs the event loop until the condition holds, noting the longest gap between
// two turns of the loop (the main thread held up by one piece of work).
void runUntil(const std::function<bool()> &condition)
{
    QElapsedTimer sinceLastTurn;
    sinceLastTurn.start();
    while (!condition()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        gLongestStallMs = std::max(gLongestStallMs, sinceLastTurn.restart());
    }
}

void BM_Find(benchmark::State &state)
{
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        QProcess find;
        find.setStandardOutputFile(QProcess::nullDevice());
        find.start(QStringLiteral("find"), {workspace().folder()});
        if (!find.waitForFinished(-1) || find.exitCode() != 0)
            std::abort();
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        total += seconds;
    }
    gSecondsPerRun["find"] = total / double(state.iterations());
}

// Opens the folder in the tree (listed on a worker, installed on the main
// thread) and checks it with all its items. The listing's rest of 1 s after
// every 5,000 entries is left out here: it is there to spare the disk, not work.
void BM_ListAndCheck(benchmark::State &state)
{
    LocalTreeTimings timings;
    timings.listingPause = std::chrono::milliseconds(0);
    double total = 0;
    for (auto _ : state) {
        FileSystemController controller(workspace().layout(), timings);
        controller.setMUserName(QStringLiteral("bench"));
        TreeViewController &tree = controller.mController();
        const QString folderPath = workspace().layout().startupVolumePath() + "/big";
        runUntil([&] { return tree.nodeForPath(folderPath) && controller.isThreadRunning() == 0; });

        QElapsedTimer clock;
        clock.start();
        TreeViewNode *folder = tree.nodeForPath(folderPath);
        controller.expandNode(folder);
        runUntil([&] { return folder->children().size() == size_t(kFiles); });
        tree.toggleCheckboxStateforNode(folder);
        const double seconds = clock.nsecsElapsed() / 1e9;
        if (folder->children().back()->checkState() != TreeViewNode::Checked)
            std::abort();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    gSecondsPerRun["tree"] = total / double(state.iterations());
}

BENCHMARK(BM_Find)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ListAndCheck)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ProgramContext context;
    TXSupportFileManager::txFileManager().setTarnixUserName(QStringLiteral("bench"));
    benchmark::Initialize(&argc, argv);
    workspace();  // the folder is made before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n%d files in one folder\n", kFiles);
    if (gSecondsPerRun.count("tree") && gSecondsPerRun.count("find"))
        std::printf("list and check / find: %.2fx\n", gSecondsPerRun["tree"] / gSecondsPerRun["find"]);
    std::printf("longest hold-up of the main thread: %lld ms\n", static_cast<long long>(gLongestStallMs));
    return 0;
}
