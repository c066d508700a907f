// A backup set of 100,000 files as the Backup page handles it, with its outline and its set
// list on screen (offscreen): loading the set into the tree, one check-box click in a folder
// of 100,000 files (the set file and the size file written again) and a rebuild of the set
// list. Each runs to its end (the loaded set saved again, the click's files written, the
// list's rows shown) while the main thread's event loop is watched; the figures are the
// longest time the loop was held up, which is what the user feels as a frozen window, and
// the time until the end. The reference is the bare file work each stands on, measured in the
// same run: reading the list and looking at each path, or writing the list.

#include "client/backup/localtree/FileSystemController.h"
#include "client/backup/localtree/TreeViewController.h"
#include "client/backup/setlist/BackupsetViewController.h"
#include "client/backup/views/LocalTreeView.h"
#include "client/backup/views/SetListView.h"
#include "common/backupset/BackupSetFiles.h"
#include "common/context/ProgramContext.h"
#include "common/files/TXSupportFileManager.h"
#include "desktop/alerts/AlertPresenter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace {

constexpr int kFiles = 100000;

class SilentAlerts : public AlertPresenter
{
public:
    int runModalAlert(const AlertRequest &) override { return 0; }
    void showAlert(const AlertRequest &) override {}
};

struct Selection
{
    QTemporaryDir dir;
    QStringList files;

    QString startup() const { return dir.path() + "/startup"; }
    QString folder() const { return startup() + "/big"; }
    LocalVolumeLayout layout() const
    {
        return {dir.path() + "/volumes", startup(), QStringLiteral("Startup"), startup() + "/home/me"};
    }
    static BackupSetFiles setFiles() { return BackupSetFiles(QStringLiteral("bench"), true); }
    QString setFile() const { return setFiles().pathForDataFile(); }

    Selection()
    {
        qputenv("XDG_DATA_HOME", (dir.path() + "/data").toUtf8());
        qputenv("TX_SUPPORT_ROOT", (dir.path() + "/support").toUtf8());
        QDir().mkpath(startup() + "/home/me");
        QDir().mkpath(dir.path() + "/volumes");
        QDir().mkpath(folder());
        for (int i = 0; i < kFiles; ++i) {
            const QString path = QStringLiteral("%1/file%2.txt").arg(folder()).arg(i);
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                std::abort();
            files.append(layout().storedForm(layout().treePathOfDiskPath(path)));
        }
    }

    void writeSet() const
    {
        if (!BackupSetFiles::writeList(setFile(), files))
            std::abort();
    }
};

Selection &selection()
{
    static Selection instance;
    return instance;
}

LocalTreeTimings quickTimings()
{
    LocalTreeTimings timings;
    timings.listingPause = std::chrono::milliseconds(0);
    timings.sizeRunDelay = std::chrono::hours(1);  // folder sizing is not what is measured
    return timings;
}

// What one run of an operation cost.
struct Run
{
    double longestStall = 0;  // seconds the event loop was held up at most
    double untilDone = 0;     // seconds until the operation's end
};

std::map<std::string, std::vector<double>> gFigures;

void record(const std::string &name, double seconds) { gFigures[name].push_back(seconds); }

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Starts the operation and turns the event loop until it is done, timing every turn.
Run watchMainThread(const std::function<void()> &start, const std::function<bool()> &done)
{
    Run run;
    QElapsedTimer total;
    total.start();
    QElapsedTimer turn;
    turn.start();
    start();
    double longest = turn.nsecsElapsed() / 1e9;
    while (!done()) {
        turn.restart();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        longest = std::max(longest, turn.nsecsElapsed() / 1e9);
        QThread::usleep(200);  // waiting for the worker is not a hold-up
    }
    run.longestStall = longest;
    run.untilDone = total.nsecsElapsed() / 1e9;
    return run;
}

void waitUntil(const std::function<bool()> &condition)
{
    while (!condition()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::usleep(200);
    }
}

void timeRuns(benchmark::State &state, const std::string &name, const std::function<void()> &prepare,
              const std::function<Run()> &operation)
{
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
        const Run run = operation();
        state.SetIterationTime(run.untilDone);
        record(name + " stall", run.longestStall);
        record(name + " done", run.untilDone);
    }
    state.counters["longest_stall_ms"] = median(gFigures[name + " stall"]) * 1000;
}

// The bare file work.
void timeBare(benchmark::State &state, const std::string &name, const std::function<void()> &work)
{
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        work();
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        record(name, seconds);
    }
}

void readAndLookAtEachPath()
{
    int present = 0;
    const QStringList paths = BackupSetFiles::readList(selection().setFile()).value_or(QStringList());
    for (const QString &path : paths)
        present += QFileInfo::exists(selection().layout().diskPath(selection().layout().treePath(path)));
    benchmark::DoNotOptimize(present);
}

// The outline as the Backup page shows it, on a tree of its own.
struct ShownTree
{
    ShownTree()
        : controller(selection().layout(), quickTimings())
        , view(controller.outlineModel())
    {
        controller.setMUserName(QStringLiteral("bench"));
        QObject::connect(&controller, &FileSystemController::BackupSetSavedAtPath, &controller, [this] { ++saves; });
        view.resize(800, 600);
        view.show();
    }

    FileSystemController controller;
    LocalTreeView view;
    int saves = 0;
};

// --- Loading the set ---

void BM_ReadSetFile(benchmark::State &state)
{
    selection().writeSet();
    timeBare(state, "read", readAndLookAtEachPath);
}

void BM_LoadSetIntoTree(benchmark::State &state)
{
    std::unique_ptr<ShownTree> shown;
    timeRuns(
        state, "load",
        [&] {
            shown.reset();
            selection().writeSet();
            shown = std::make_unique<ShownTree>();
        },
        [&] {
            // The load ends when the loaded set has been saved again.
            return watchMainThread([&] { shown->controller.loadDataFromDisk(); }, [&] { return shown->saves > 0; });
        });
}

// --- One check-box click ---

void BM_WriteSetFile(benchmark::State &state)
{
    timeBare(state, "write", [] { BackupSetFiles::writeList(selection().setFile(), selection().files); });
}

void BM_ClickOneCheckBox(benchmark::State &state)
{
    selection().writeSet();
    ShownTree shown;
    shown.controller.loadDataFromDisk();
    TreeViewController &tree = shown.controller.mController();
    const QString folderPath = selection().layout().startupVolumePath() + "/big";
    waitUntil([&] { return tree.nodeForPath(folderPath) && shown.controller.isThreadRunning() == 0; });
    TreeViewNode *folder = tree.nodeForPath(folderPath);
    shown.controller.expandNode(folder);
    waitUntil([&] { return folder->children().size() == size_t(kFiles) && shown.controller.isThreadRunning() == 0; });
    shown.view.expand(shown.controller.outlineModel().indexForNode(folder));
    TreeViewNode *file = folder->children().front();
    timeRuns(
        state, "click", [&] { shown.controller.finishSaving(); },
        [&] {
            // The click ends when its set file and size file are written.
            const int before = shown.saves;
            return watchMainThread([&] { shown.controller.toggleCheckBoxState(file); },
                                   [&] { return shown.saves > before; });
        });
}

// --- Rebuilding the set list ---

void BM_RebuildSetList(benchmark::State &state)
{
    // The set and its size file as the tree leaves them.
    selection().writeSet();
    {
        ShownTree shown;
        shown.controller.loadDataFromDisk();
        waitUntil([&] { return shown.saves > 0; });
    }
    SilentAlerts alerts;
    BackupsetViewController list(alerts);
    SetListView view(list);
    view.resize(800, 400);
    view.show();
    int shownRows = 0;
    QObject::connect(&list, &BackupsetViewController::rowsChanged, &list, [&] { ++shownRows; });
    list.setFiles({selection().setFile(), Selection::setFiles().sizeFilePath(), selection().dir.path() + "/tm.plist"});
    waitUntil([&] { return shownRows > 0; });
    if (list.backupSet().size() != kFiles)
        std::abort();
    timeRuns(
        state, "rebuild", [] {},
        [&] {
            const int before = shownRows;
            return watchMainThread([&] { list.readBackupSetFromFile(selection().setFile()); },
                                   [&] { return shownRows > before; });
        });
}

BENCHMARK(BM_ReadSetFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadSetIntoTree)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WriteSetFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ClickOneCheckBox)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RebuildSetList)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void printFigures(const char *what, const std::string &work, const std::string &reference)
{
    if (!gFigures.count(work + " stall") || !gFigures.count(reference))
        return;
    const double bare = median(gFigures[reference]);
    const double stall = median(gFigures[work + " stall"]);
    const double done = median(gFigures[work + " done"]);
    std::printf("%-22s %8.0f ms %6.2fx %10.0f ms %6.2fx %10.0f ms\n", what, stall * 1000, stall / bare, done * 1000,
                done / bare, bare * 1000);
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ProgramContext context;
    TXSupportFileManager::txFileManager().setTarnixUserName(QStringLiteral("bench"));
    benchmark::Initialize(&argc, argv);
    selection();  // the files are made before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nA set of %d files, medians of 5 runs; ratios against the bare file work\n", kFiles);
    std::printf("%-22s %20s %20s %13s\n", "", "longest main-thread", "until done", "bare work");
    printFigures("load into the tree:", "load", "read");
    printFigures("one check-box click:", "click", "write");
    printFigures("rebuild the set list:", "rebuild", "read");
    return 0;
}
