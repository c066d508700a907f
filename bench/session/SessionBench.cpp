// Whole sessions through the session driver, two engines and the stand-in
// engine, against `cp -a`, `rsync -a`, `borg` and `restic` in the same run,
// over two trees of small files in 100 folders and three large files, one of
// 10,000 and one of 100,000 small files (or the sizes given as arguments): a
// first backup, the backup of the unchanged tree, and a restore of the whole
// tree into a fresh folder (the session's from the drive's index).
// The session keeps the product's fixed waits (the walk's pauses, the first
// launch's settling, the engines' finish waits, the end wait, the index's open
// wait); each ratio is printed with the session's whole time and with that
// time less the fixed waits it spent while no engine ran (the session's own
// count).
// borg and restic come from `scripts/setup bench`; a missing peer is skipped.
//
// With TX_BENCH_MEMORY_FILES=1000000 it measures memory instead: a first
// backup and an unchanged re-backup of that many empty files with the drive's
// index manager running at the product's pace, as in the client, each with
// the process's peak resident size against its size before the session.

#include "common/account/QLApplicationDelegate.h"
#include "common/context/ProgramContext.h"
#include "common/files/ApplicationFile.h"
#include "common/files/TXSupportFileManager.h"
#include "index/manager/TarnixDBManager.h"
#include "session/manager/BackedUpFileQueue.h"
#include "session/manager/RuvoBackupManager.h"

#include "PeakMemory.h"
#include "SessionEndWaiter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRounds = 3;
const QList<int> kDefaultSizes = {10000, 100000};
constexpr int kFolders = 100;
constexpr int kLargeFiles = 3;
constexpr qint64 kLargeFileBytes = 32 << 20;
const QString kUser = QStringLiteral("bench");
const QString kComputer = QStringLiteral("Mac");

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

QString path(const QString &relative) { return scratch().path() + "/" + relative; }

// The number of small files of the tree being measured.
int gSmallFiles = 0;

QString tree() { return path(QStringLiteral("tree%1").arg(gSmallFiles)); }

// Each round (of every size) works on a drive and in folders of its own:
// removing the last round's copies can take longer than making them.
int gRound = 0;

QString driveName() { return QStringLiteral("Drive%1").arg(gRound); }

QString userFolder() { return path("roots/TX_VOLUMES_ROOT/") + driveName() + "/TarnixVidezud/" + kUser; }

void writeFile(const QString &file, const QByteArray &content)
{
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
        std::abort();
}

void makeTree()
{
    QRandomGenerator random(42);
    for (int i = 0; i < gSmallFiles; ++i) {
        const QString folder = QStringLiteral("%1/d%2").arg(tree()).arg(i % kFolders);
        QDir().mkpath(folder);
        QByteArray content(512 + int(random.bounded(3584)), Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32 *>(content.data()), content.size() / 4);
        writeFile(QStringLiteral("%1/f%2.txt").arg(folder).arg(i), content);
    }
    for (int i = 0; i < kLargeFiles; ++i) {
        QByteArray content(kLargeFileBytes, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32 *>(content.data()), content.size() / 4);
        writeFile(QStringLiteral("%1/large%2.bin").arg(tree()).arg(i), content);
    }
}

// A folder of this round's (made when missing).
QString roundFolder(const QString &relative)
{
    const QString folder = path(QStringLiteral("round%1/").arg(gRound) + relative);
    QDir().mkpath(folder);
    return folder;
}

void runProgram(const QString &program, const QStringList &arguments, const QString &workingFolder = QString())
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s %s failed\n", qPrintable(program), qPrintable(arguments.join(' ')));
        std::abort();
    }
}

// The engine the sessions run: the build's, or TX_BENCH_ENGINE (a copy kept
// aside, so that a build made during a long run does not change its engine).
QString enginePath()
{
    const QString chosen = qEnvironmentVariable("TX_BENCH_ENGINE");
    return chosen.isEmpty() ? QStringLiteral(TXRUVO_PATH) : chosen;
}

// --- The session's side ---

// Stands in for the client's main controller: the account and its computer folder.
class BenchMainController : public QLApplicationDelegate
{
public:
    BenchMainController() { account.setUserName(kUser); }
    User &userObject() override { return account; }
    bool isAppInBackupMode() const override { return true; }
    QString mpcName() const override { return "/" + kComputer; }
    QString currentBackupPath() const override { return userFolder(); }
    void sendSessionLogInformation(const QString &, int, int, const QString &, const QString &) override {}
    User account;
};

// Hands each stored file to the drive's index manager, as the client does.
class IndexForwarder : public BackedUpFileQueue
{
public:
    void addBackedUpFile(const BackedUpFile &file) override { index->addBackedUpFile(file); }
    TarnixDBManager *index = nullptr;
};

struct SessionTime
{
    double seconds = 0;
    double fixedWaits = 0;
};

// One session with the product's timings, set up as its creator sets it up.
SessionTime runSession(bool restore, const std::function<void(RuvoBackupManager &)> &setUp)
{
    SessionEndWaiter waiter;
    RuvoBackupManager manager;
    manager.setDelegate(&waiter);
    manager.setRelativeOperation(true);
    // The client's own folder: the engine wrapper removes each run's files only there.
    manager.setApplicationSupportFolder(
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::UserFolder));
    manager.setBackupSourceFolder(restore ? roundFolder("restored/session") : "/");
    manager.setDestinationPath(restore ? userFolder() : userFolder() + "/" + kComputer);
    manager.setForOB(true);
    manager.setRestore(restore);
    manager.deleteTempFilePaths();
    manager.createTempFilePaths();
    manager.setCancel(false);
    User &account = manager.userInfo();
    account.setUserName(kUser);
    account.setRuvoServerIP("127.0.0.1");
    account.setPort("--port=443");
    account.setMEncodedKey("key");
    account.setMEncodedPassword("password");
    manager.setExecutorPath(enginePath());
    setUp(manager);
    ::sync();  // earlier runs' writes are not charged to this one
    QElapsedTimer clock;
    clock.start();
    restore ? manager.startRestore() : manager.startBackup();
    waiter.waitForEnd();
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (waiter.end != "success") {
        std::fprintf(stderr, "session failed: %s\n", qPrintable(waiter.end));
        std::abort();
    }
    return {seconds, std::chrono::duration<double>(manager.fixedWaitsSpent()).count()};
}

SessionTime sessionBackup(IndexForwarder *index, const QString &folder = tree())
{
    return runSession(false, [index, folder](RuvoBackupManager &manager) {
        manager.shouldBackupVersions(true);
        manager.setFileFolderSetForOperation({folder});
        if (index)
            manager.setBackedUpFileQueue(index);
    });
}

SessionTime sessionRestore()
{
    return runSession(true, [](RuvoBackupManager &manager) {
        manager.mFolderSetForRelativeRestore() = QStringList{kComputer + tree()};
    });
}

// --- Timing and the table ---

struct Series
{
    std::vector<double> seconds;
    std::vector<double> lessFixedWaits;
};

std::map<QString, Series> gRuns;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void record(const QString &name, SessionTime time)
{
    gRuns[name].seconds.push_back(time.seconds);
    gRuns[name].lessFixedWaits.push_back(time.seconds - time.fixedWaits);
}

void timePeer(const QString &name, const std::function<void()> &work)
{
    ::sync();
    QElapsedTimer clock;
    clock.start();
    work();
    const double seconds = clock.nsecsElapsed() / 1e9;
    record(name, {seconds, 0});
}

bool have(const QString &program)
{
    const bool found = !QStandardPaths::findExecutable(program).isEmpty();
    static std::map<QString, bool> told;
    if (!found && !told[program]) {
        std::printf("%s is not installed (scripts/setup bench): skipped\n", qPrintable(program));
        told[program] = true;
    }
    return found;
}

void printRatios(const QString &session, const QStringList &peers)
{
    if (!gRuns.count(session))
        return;
    const double whole = median(gRuns[session].seconds);
    const double less = median(gRuns[session].lessFixedWaits);
    std::printf("\n%s: median %.2f s, %.2f s less fixed waits\n", qPrintable(session), whole, less);
    for (const QString &peer : peers) {
        if (!gRuns.count(peer))
            continue;
        const double theirs = median(gRuns[peer].seconds);
        std::printf("  / %-22s %.2f s: %5.2fx whole, %5.2fx less fixed waits\n", qPrintable(peer), theirs,
                    whole / theirs, less / theirs);
    }
}

void round(int number)
{
    ++gRound;
    const QString n = QString::number(number);
    // A fresh drive and index: the index manager learns the first backup.
    bool changed = false;
    TXSupportFileManager::txFileManager().setDestinationDrive(driveName(), &changed);
    QDir().mkpath(userFolder() + "/" + kComputer);
    IndexManagerTimings indexTimings;
    indexTimings.tickInterval = std::chrono::hours(1);  // merged between the timed runs
    indexTimings.writerPause = std::chrono::milliseconds(0);
    indexTimings.index.openWait = std::chrono::milliseconds(0);
    indexTimings.index.mergePause = std::chrono::milliseconds(0);
    BenchMainController mainController;
    TarnixDBManager index(indexTimings);
    index.setMainController(&mainController);
    IndexForwarder forwarder;
    forwarder.index = &index;

    record("session backup", sessionBackup(&forwarder));
    timePeer("cp -a", [] { runProgram("cp", {"-a", tree(), roundFolder("peers/cp") + "/tree"}); });
    timePeer("rsync -a", [] { runProgram("rsync", {"-a", tree() + '/', roundFolder("peers/rsync") + "/tree/"}); });
    if (have("borg")) {
        runProgram("borg", {"init", "--encryption=none", roundFolder("peers/borg") + "/repo"});
        timePeer("borg create", [] {
            runProgram("borg", {"create", roundFolder("peers/borg/repo") + "::first", tree()});
        });
    }
    if (have("restic")) {
        runProgram("restic", {"init", "--repo", roundFolder("peers/restic")});
        timePeer("restic backup", [] {
            runProgram("restic", {"backup", "--repo", roundFolder("peers/restic"), tree()});
        });
    }

    // The unchanged tree again.
    record("session re-backup", sessionBackup(nullptr));
    timePeer("rsync -a no change", [] { runProgram("rsync", {"-a", tree() + '/', roundFolder("peers/rsync/tree/")}); });
    if (have("borg"))
        timePeer("borg create no change", [] {
            runProgram("borg", {"create", roundFolder("peers/borg/repo") + "::second", tree()});
        });
    if (have("restic"))
        timePeer("restic backup no change", [] {
            runProgram("restic", {"backup", "--repo", roundFolder("peers/restic"), tree()});
        });

    // The whole tree back into a fresh folder.
    index.updaterTimer();
    index.waitForWriters();
    record("session restore", sessionRestore());
    timePeer("cp -a restore", [] {
        runProgram("cp", {"-a", roundFolder("peers/cp/tree"), roundFolder("restored/cp") + "/tree"});
    });
    timePeer("rsync -a restore", [] {
        runProgram("rsync", {"-a", roundFolder("peers/rsync/tree/"), roundFolder("restored/rsync") + "/tree/"});
    });
    if (have("borg"))
        timePeer("borg extract", [] {
            runProgram("borg", {"extract", roundFolder("peers/borg/repo") + "::first"}, roundFolder("restored/borg"));
        });
    if (have("restic"))
        timePeer("restic restore", [] {
            runProgram("restic", {"restore", "latest", "--repo", roundFolder("peers/restic"), "--target",
                                  roundFolder("restored/restic")});
        });
    const QString check = roundFolder("restored/session") + tree() + "/large0.bin";
    if (QFile(check).size() != kLargeFileBytes) {
        std::fprintf(stderr, "round %s: the session restore lacks %s\n", qPrintable(n), qPrintable(check));
        std::abort();
    }
    std::printf("round %s of %d done\n", qPrintable(n), kRounds);
    std::fflush(stdout);
}

// --- Memory at many files ---

// Backs up the folder once with the index manager running and prints the peak.
void printSessionPeak(const char *name, IndexForwarder &index, const QString &folder)
{
    const bool ownPeak = PeakMemory::resetPeakResident();
    const long before = PeakMemory::statusKiB(ownPeak ? "VmRSS:" : "VmHWM:");
    const SessionTime time = sessionBackup(&index, folder);
    const long peak = PeakMemory::statusKiB("VmHWM:");
    std::printf("%-16s %7.1f s; resident %6.1f MiB before, peak %6.1f MiB (+%.1f MiB), %6.1f MiB at its end%s\n", name,
                time.seconds, before / 1024.0, peak / 1024.0, (peak - before) / 1024.0,
                PeakMemory::statusKiB("VmRSS:") / 1024.0,
                ownPeak ? "" : " (peak of the whole process: the kernel cannot reset it)");
    std::fflush(stdout);
}

void memoryRun(int files)
{
    const QString folder = path("many");
    std::printf("making %d empty files...\n", files);
    std::fflush(stdout);
    for (int i = 0; i < files; ++i) {
        const QString subfolder = QStringLiteral("%1/d%2").arg(folder).arg(i / 1000);
        if (i % 1000 == 0)
            QDir().mkpath(subfolder);
        QFile(QStringLiteral("%1/f%2").arg(subfolder).arg(i)).open(QIODevice::WriteOnly);
    }
    bool changed = false;
    TXSupportFileManager::txFileManager().setDestinationDrive(driveName(), &changed);
    QDir().mkpath(userFolder() + "/" + kComputer);
    BenchMainController mainController;
    // The product's pace, as the client runs it.
    auto index = std::make_unique<TarnixDBManager>();
    index->setMainController(&mainController);
    IndexForwarder forwarder;
    forwarder.index = index.get();
    std::printf("%d files, the index manager at the product's pace:\n", files);
    printSessionPeak("first backup", forwarder, folder);
    printSessionPeak("unchanged again", forwarder, folder);
    // The index merges at its own pace long after: the process ends without
    // waiting for it, once the scratch folder is gone.
    std::fflush(stdout);
    index->stopDBOperation();
    scratch().remove();
    std::_Exit(0);
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Every file the program writes stays in the scratch folder.
    for (const char *root : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR",
                             "TX_SUPPORT_ROOT", "TX_VOLUMES_ROOT"}) {
        const QString folder = path(QStringLiteral("roots/") + root);
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(root, folder.toUtf8());
    }
    qputenv("TX_RESOURCES", TX_RESOURCES_PATH);
    qputenv("RESTIC_PASSWORD", "bench");
    qputenv("RESTIC_CACHE_DIR", path("roots/restic-cache").toUtf8());
    qputenv("BORG_BASE_DIR", path("roots/borg").toUtf8());
    qputenv("BORG_UNKNOWN_UNENCRYPTED_REPO_ACCESS_IS_OK", "yes");
    ProgramContext context;
    TXSupportFileManager::txFileManager().setTarnixUserName(kUser);
    if (const int files = qEnvironmentVariableIntValue("TX_BENCH_MEMORY_FILES"); files > 0)
        memoryRun(files);

    QList<int> sizes;
    for (const QString &argument : app.arguments().mid(1))
        sizes << argument.toInt();
    if (sizes.isEmpty())
        sizes = kDefaultSizes;
    for (const int size : sizes) {
        gSmallFiles = size;
        gRuns.clear();
        std::printf("making the tree: %d small files in %d folders, %d files of %lld MiB...\n", gSmallFiles, kFolders,
                    kLargeFiles, kLargeFileBytes >> 20);
        std::fflush(stdout);
        makeTree();
        for (int number = 1; number <= kRounds; ++number)
            round(number);

        std::printf("\n%d small files: medians of %d rounds (borg: no encryption, its default compression; restic "
                    "always encrypts)\n",
                    gSmallFiles, kRounds);
        printRatios("session backup", {"cp -a", "rsync -a", "borg create", "restic backup"});
        printRatios("session re-backup", {"rsync -a no change", "borg create no change", "restic backup no change"});
        printRatios("session restore", {"cp -a restore", "rsync -a restore", "borg extract", "restic restore"});
        std::printf("\n");
        std::fflush(stdout);
    }
    std::fflush(stdout);  // before the scratch folder's slow removal
    return 0;
}
