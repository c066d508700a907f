#include "EngineHarness.h"

#include "txruvo/BackupOperation.h"
#include "txruvo/CommandLine.h"
#include "txruvo/RestoreOperation.h"
#include "txruvo/Scenario.h"
#include "txruvo/SessionRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Runs a backup or a restore in this process with a sync of the file system
// that first notes what the drive (or the target) and the output hold, so
// the order of copy, sync, naming and report can be checked afterwards.
class DurabilityTest : public EngineHarness
{
protected:
    enum class Kind
    {
        Backup,
        Restore
    };

    // What the sync saw at one call.
    struct Snapshot
    {
        QHash<QString, qint64> named;  // file name -> size, under its real name
        QList<qint64> pendingSizes;    // copies written but not named yet
        QSet<QString> reported;        // file names with a completion line
    };

    static constexpr int kFiles = 6;

    void SetUp() override
    {
        EngineHarness::SetUp();
        for (int i = 0; i < kFiles; ++i) {
            mList << source(QStringLiteral("/Docs/f%1.txt").arg(i));
            writeText(mList.last(), QByteArray(100 + 7 * i, char('a' + i)));  // sizes tell them apart
        }
        writeList(mList);
    }

    QString target() const { return root() + "/restored"; }
    QString namedFolder(Kind kind) const { return (kind == Kind::Backup ? drive() : target()) + source("/Docs"); }

    // Makes a backup for a restore to read, through the engine program.
    void backUpFirst()
    {
        writeList(mList);
        const Run backup = run(backupVector());
        ASSERT_EQ(backup.exitCode, 0);
        QStringList lines;
        const auto completed = backup.completed();
        for (const QString &path : std::as_const(mList)) {
            const auto line = completed.value(path);
            lines << line["mpc"] + '/' + line["folder_id"] + '/' + line["enc_name"];
        }
        writeList(lines);
    }

    Snapshot snapshot(Kind kind) const
    {
        Snapshot seen;
        for (const QFileInfo &file : QDir(namedFolder(kind)).entryInfoList(QDir::Files | QDir::Hidden)) {
            if (!file.fileName().endsWith("_.chk") && !file.fileName().startsWith(".txruvo-"))
                seen.named.insert(file.fileName(), file.size());
        }
        seen.pendingSizes = unnamedSizes(kind == Kind::Backup ? drive() : target());
        const QString output = QString::fromUtf8(readText(operation() + "/OutData_0.txt"));
        for (const QString &line : output.split('\n', Qt::SkipEmptyParts)) {
            if (line.contains("per=\"100\""))
                seen.reported << line.section("fname=\"", 1).section('"', 0, 0).section('/', -1);
        }
        return seen;
    }

    // The copies waiting for their names: files below `folder` that this
    // process holds open and that have no name.
    static QList<qint64> unnamedSizes(const QString &folder)
    {
        QList<qint64> sizes;
        for (const QString &fd :
             QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            char link[4096];
            const ssize_t length = ::readlink(QFile::encodeName("/proc/self/fd/" + fd).constData(), link, sizeof link);
            const QString opened = QFile::decodeName(QByteArray(link, std::max<ssize_t>(length, 0)));
            struct stat status
            {};
            if (opened.startsWith(folder + '/') && opened.endsWith(" (deleted)") && ::fstat(fd.toInt(), &status) == 0)
                sizes << status.st_size;
        }
        return sizes;
    }

    QStringList vector(Kind kind) const
    {
        return kind == Kind::Backup ? backupVector() : restoreVector("//", target());
    }

    // The run's exit status; the sync fails with EIO at call `failingCall` (1 is the first; 0 never).
    // The client cancels during the sync at call `cancellingCall` (0: never).
    int runInProcess(Kind kind, std::chrono::milliseconds syncHold, int failingCall = 0, int cancellingCall = 0)
    {
        EngineTimings timings;
        timings.lineHold = std::chrono::milliseconds(0);  // every line is in the file as soon as it is made
        timings.syncHold = syncHold;
        timings.controlPoll = std::chrono::milliseconds(0);
        const auto sync = [this, kind, failingCall, cancellingCall](int fileSystemFd) {
            mSnapshots << snapshot(kind);
            if (mSnapshots.size() == cancellingCall)
                setControl("intCancel", "3");
            if (mSnapshots.size() == failingCall) {
                errno = EIO;
                return -1;
            }
            return ::syncfs(fileSystemFd);
        };
        const CommandLine commandLine(vector(kind).mid(1));
        const Scenario scenario;
        SessionRun session(commandLine, scenario, timings, sync);
        if (const std::optional<SessionRun::Stop> stop = session.prepare())
            return stop->exitStatus;
        if (kind == Kind::Backup)
            return BackupOperation(session, BackupOperation::Kind::Items).run();
        return RestoreOperation(session).run();
    }

    QStringList mList;
    QList<Snapshot> mSnapshots;
};

TEST_F(DurabilityTest, CopiesAreSyncedBeforeTheyAreNamedAndNamedBeforeTheyAreReported)
{
    struct Case
    {
        const char *name;
        Kind kind;
        std::chrono::milliseconds syncHold;
    };
    const Case cases[] = {{"backup, one batch", Kind::Backup, std::chrono::seconds(60)},
                          {"backup, a batch per file", Kind::Backup, std::chrono::milliseconds(0)},
                          {"restore, one batch", Kind::Restore, std::chrono::seconds(60)},
                          {"restore, a batch per file", Kind::Restore, std::chrono::milliseconds(0)}};
    for (const Case &c : cases) {
        if (c.kind == Kind::Restore)
            backUpFirst();
        mSnapshots.clear();
        ASSERT_EQ(runInProcess(c.kind, c.syncHold), 0) << c.name;
        const Snapshot end = snapshot(c.kind);
        ASSERT_EQ(end.reported.size(), kFiles) << c.name;
        ASSERT_GE(mSnapshots.size(), 2) << c.name;
        mSnapshots << end;

        QSet<QString> namedAtASync;
        for (const Snapshot &seen : std::as_const(mSnapshots)) {
            // Reported only once a sync made its name durable.
            for (const QString &name : seen.reported)
                EXPECT_TRUE(namedAtASync.contains(name)) << c.name << ": " << qPrintable(name) << " reported early";
            for (auto named = seen.named.cbegin(); named != seen.named.cend(); ++named)
                namedAtASync << named.key();
        }
        for (int i = 0; i < kFiles; ++i) {
            const QString name = QStringLiteral("f%1.txt").arg(i);
            const qint64 size = 100 + 7 * i;
            const auto firstNamed = std::find_if(mSnapshots.cbegin(), mSnapshots.cend(),
                                                 [&](const Snapshot &seen) { return seen.named.contains(name); });
            ASSERT_NE(firstNamed, mSnapshots.cbegin())
                << c.name << ": " << qPrintable(name) << " named before any sync";
            ASSERT_NE(firstNamed, mSnapshots.cend() - 1)
                << c.name << ": " << qPrintable(name) << " named after the last sync";
            // The sync before it got its name found its whole copy waiting.
            EXPECT_TRUE((firstNamed - 1)->pendingSizes.contains(size)) << c.name << ": " << qPrintable(name);
            EXPECT_EQ(firstNamed->named.value(name), size) << c.name << ": " << qPrintable(name);
        }
        if (c.kind == Kind::Backup)
            QDir(drive()).removeRecursively();
        QDir().mkpath(drive());
        QDir(target()).removeRecursively();
    }
}

TEST_F(DurabilityTest, AFailedSyncReportsNothingAndEndsTheRun)
{
    for (const Kind kind : {Kind::Backup, Kind::Restore}) {
        if (kind == Kind::Restore)
            backUpFirst();
        for (const int failingCall : {1, 2}) {
            QDir(target()).removeRecursively();
            if (kind == Kind::Backup)
                QDir(drive()).removeRecursively();
            QDir().mkpath(drive());
            mSnapshots.clear();
            EXPECT_EQ(runInProcess(kind, std::chrono::seconds(60), failingCall), 1) << failingCall;
            EXPECT_TRUE(readText(operation() + "/ErrorData_0.txt")
                            .startsWith("txruvo error: copies could not be made durable (Input/output error)"))
                << failingCall;
            const Snapshot end = snapshot(kind);
            EXPECT_TRUE(end.reported.isEmpty()) << failingCall;
            EXPECT_TRUE(end.pendingSizes.isEmpty()) << failingCall;
            // A copy whose data was not synced never gets its real name.
            if (failingCall == 1) {
                EXPECT_TRUE(end.named.isEmpty()) << failingCall;
            }
        }
    }
}

// A cancel that comes while a batch waits for its sync (which may take long
// on a busy drive) drops the batch: none of its copies gets its name or a
// line, and the run ends at once with status 0.
TEST_F(DurabilityTest, ACancelDuringASyncDropsTheBatch)
{
    for (const Kind kind : {Kind::Backup, Kind::Restore}) {
        SCOPED_TRACE(kind == Kind::Backup ? "backup" : "restore");
        if (kind == Kind::Restore)
            backUpFirst();
        setControl("intCancel", "0");
        mSnapshots.clear();
        EXPECT_EQ(runInProcess(kind, std::chrono::seconds(60), 0, 1), 0);
        const Snapshot end = snapshot(kind);
        EXPECT_TRUE(end.reported.isEmpty());
        EXPECT_TRUE(end.named.isEmpty());
        EXPECT_TRUE(end.pendingSizes.isEmpty());
        setControl("intCancel", "0");
    }
}

}  // namespace
