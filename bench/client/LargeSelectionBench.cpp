// A backup set of 100,000 files as the Backup page handles it on the main thread:
// loading the set into the tree, one check-box click (the set file and the size file
// written again) and a rebuild of the set list, each against the bare file work it
// stands on (reading or writing the same list without the tree or the list). Prints the
// ratios and the longest hold-up of the main thread, which is what the user feels.

#include "client/backup/localtree/FileSystemController.h"
#include "client/backup/localtree/TreeViewController.h"
#include "client/backup/setlist/BackupsetViewController.h"
#include "common/backupset/BackupSetFiles.h"
#include "common/context/ProgramContext.h"
#include "common/files/TXSupportFileManager.h"
#include "desktop/alerts/AlertPresenter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>

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
    QString setFile() const { return BackupSetFiles(QStringLiteral("bench"), true).pathForDataFile(); }
    QString sizeFile() const { return BackupSetFiles(QStringLiteral("bench"), true).sizeFilePath(); }

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

std::map<std::string, double> gSecondsPerRun;

// Times one piece of main-thread work per iteration.
void timeEach(benchmark::State &state, const char *name, const std::function<void()> &prepare,
              const std::function<void()> &work)
{
    double total = 0;
    for (auto _ : state) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        work();
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        total += seconds;
    }
    gSecondsPerRun[name] = total / double(state.iterations());
}

// --- Loading the set ---

void BM_ReadSetFile(benchmark::State &state)
{
    timeEach(
        state, "read", [] { selection().writeSet(); },
        [] {
            int present = 0;
            const QStringList paths = BackupSetFiles::readList(selection().setFile()).value_or(QStringList());
            for (const QString &path : paths)
                present += QFileInfo::exists(selection().layout().diskPath(selection().layout().treePath(path)));
            benchmark::DoNotOptimize(present);
        });
}

void BM_LoadSetIntoTree(benchmark::State &state)
{
    std::unique_ptr<FileSystemController> controller;
    timeEach(
        state, "load",
        [&] {
            selection().writeSet();
            controller = std::make_unique<FileSystemController>(selection().layout());
            controller->setMUserName(QStringLiteral("bench"));
        },
        [&] { controller->loadDataFromDisk(); });
}

// --- One check-box click ---

void BM_WriteSetFile(benchmark::State &state)
{
    timeEach(
        state, "write", [] {}, [] { BackupSetFiles::writeList(selection().setFile(), selection().files); });
}

void BM_ClickOneCheckBox(benchmark::State &state)
{
    selection().writeSet();
    LocalTreeTimings timings;
    timings.listingPause = std::chrono::milliseconds(0);
    FileSystemController controller(selection().layout(), timings);
    controller.setMUserName(QStringLiteral("bench"));
    controller.loadDataFromDisk();
    TreeViewController &tree = controller.mController();
    const QString folderPath = selection().layout().startupVolumePath() + "/big";
    while (!tree.nodeForPath(folderPath) || controller.isThreadRunning() != 0)
        QCoreApplication::processEvents();
    TreeViewNode *folder = tree.nodeForPath(folderPath);
    controller.expandNode(folder);
    while (folder->children().size() != size_t(kFiles))
        QCoreApplication::processEvents();
    TreeViewNode *file = folder->children().front();
    timeEach(
        state, "click", [] {}, [&] { controller.toggleCheckBoxState(file); });
}

// --- Rebuilding the set list ---

void BM_RebuildSetList(benchmark::State &state)
{
    SilentAlerts alerts;
    BackupsetViewController list(alerts);
    list.setFiles({selection().setFile(), selection().sizeFile(), selection().dir.path() + "/tm.plist"});
    timeEach(
        state, "rebuild", [] { selection().writeSet(); }, [&] { list.readBackupSetFromFile(selection().setFile()); });
}

BENCHMARK(BM_ReadSetFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadSetIntoTree)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WriteSetFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ClickOneCheckBox)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RebuildSetList)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void printRatio(const char *what, const char *work, const char *reference)
{
    if (gSecondsPerRun.count(work) && gSecondsPerRun.count(reference))
        std::printf("%-38s %8.0f ms  %6.2fx the bare file work\n", what, gSecondsPerRun[work] * 1000,
                    gSecondsPerRun[work] / gSecondsPerRun[reference]);
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ProgramContext context;
    TXSupportFileManager::txFileManager().setTarnixUserName(QStringLiteral("bench"));
    benchmark::Initialize(&argc, argv);
    selection();  // the files are made before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nA set of %d files; each figure holds up the main thread for its whole time\n", kFiles);
    printRatio("load the set into the tree:", "load", "read");
    printRatio("one check-box click:", "click", "write");
    printRatio("rebuild the set list:", "rebuild", "read");
    return 0;
}
