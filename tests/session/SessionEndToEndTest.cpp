#include "session/manager/BackedUpFileQueue.h"
#include "session/manager/RuvoBackupManager.h"

#include "session/SessionTestSupport.h"
#include "support/FakeApplicationDelegate.h"
#include "support/IsolatedRerun.h"
#include "support/SandboxFixture.h"

#include "common/files/TXSupportFileManager.h"
#include "common/texts/QLLocalizedString.h"
#include "index/manager/TarnixDBManager.h"
#include "platform/PathTemplate.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// Whole sessions through the stand-in engine: a generated tree is backed up to
// the sandbox drive and compared byte for byte, through cancel, pause, an
// injected engine error and an engine that dies mid-run; then restored from
// the drive's index into a fresh folder.

namespace {

// Keeps what the backups report as stored and, once the drive's index manager
// runs, hands it on as the client does.
class RecordingIndexQueue : public BackedUpFileQueue
{
public:
    void addBackedUpFile(const BackedUpFile &file) override
    {
        records << file;
        if (indexManager)
            indexManager->addBackedUpFile(file);
    }
    QList<BackedUpFile> records;
    TarnixDBManager *indexManager = nullptr;
};

class SessionEndToEndTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        qunsetenv("TXRUVO_SCENARIO");
        QDir().mkpath(dataRoot());
        makeTree();
        makeManager(fastTimings());
    }

    void TearDown() override
    {
        restoreManager.reset();
        manager.reset();
        indexManager.reset();
        TXSupportFileManager::txFileManager().setSyncUserName(QString());
        qunsetenv("TXRUVO_SCENARIO");
        SandboxFixture::TearDown();
    }

    void makeManager(const SessionTimings &timings)
    {
        manager = makeBackupManager(timings, delegate, applicationFolder(), dataRoot(),
                                    QLLocalizedString("ExecuterPathRuvo"));
        manager->setBackedUpFileQueue(&index);
        manager->shouldBackupVersions(true);
        manager->setFileFolderSetForOperation({tree()});
    }

    QString tree() const { return root() + "/tree"; }
    QString userFolder() const { return volumes() + "/Drive/TarnixVidezud/ann"; }
    QString dataRoot() const { return userFolder() + "/Office"; }
    QString target() const { return root() + "/restored"; }

    // Nested folders, odd names, an empty file, a larger one and several modes.
    void makeTree()
    {
        const QStringList names{"plain.txt", "with space.txt", QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC.txt"),
                                "quote\"amp&lt<.txt", "empty"};
        for (int folder = 0; folder < 6; ++folder)
            for (int i = 0; i < names.size(); ++i) {
                const QString path =
                    QStringLiteral("%1/d%2/sub %3/%4").arg(tree()).arg(folder).arg(i % 2).arg(names[i]);
                writeText(path, names[i] == "empty" ? QByteArray() : QByteArray(200 * (folder + i + 1), char('a' + i)));
                QFile::setPermissions(path, i % 2 ? QFile::ReadOwner | QFile::WriteOwner
                                                  : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                        QFile::ReadGroup | QFile::ReadOther);
            }
        QByteArray large(3 << 20, Qt::Uninitialized);
        for (int i = 0; i < large.size(); ++i)
            large[i] = char(i * 7 % 251);
        writeText(tree() + "/large.bin", large);
        for (const QString &file : treeFiles())
            setModified(file);
    }

    static void setModified(const QString &path)
    {
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(QDateTime::fromSecsSinceEpoch(1600000000), QFileDevice::FileModificationTime);
    }

    QStringList treeFiles() const
    {
        QStringList files;
        QDirIterator it(tree(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        return files;
    }

    // Every file of the tree is on the drive with its bytes, mode and time.
    void expectDriveHoldsTree()
    {
        for (const QString &file : treeFiles()) {
            const QString stored = dataRoot() + file;
            ASSERT_TRUE(QFileInfo::exists(stored)) << stored.toStdString();
            EXPECT_EQ(readText(stored), readText(file)) << stored.toStdString();
            EXPECT_EQ(QFileInfo(stored).permissions(), QFileInfo(file).permissions()) << stored.toStdString();
            EXPECT_EQ(QFileInfo(stored).lastModified(), QFileInfo(file).lastModified()) << stored.toStdString();
        }
        QDirIterator parts(dataRoot(), {"*.part"}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        EXPECT_FALSE(parts.hasNext()) << "no half copy left: " << parts.next().toStdString();
    }

    void setScenario(const QVariantMap &scenario)
    {
        const QString path = root() + "/scenario.plist";
        ASSERT_TRUE(PropertyList::write(path, scenario));
        qputenv("TXRUVO_SCENARIO", path.toUtf8());
    }

    void backUp()
    {
        delegate.endStates.clear();
        delegate.events.clear();
        delegate.reports.clear();
        manager->startBackup();
        ASSERT_TRUE(delegate.waitForEnd(30000));
    }

    // The drive's index manager as the client runs it after login; every
    // backup from now on reaches the index.
    void startIndexManager()
    {
        TXSupportFileManager &files = TXSupportFileManager::txFileManager();
        files.setTarnixUserName("ann");
        bool changed = false;
        files.setDestinationDrive("Drive", &changed);
        mainController.account.setUserName("ann");
        mainController.computerFolder = "/Office";
        mainController.backupPath = userFolder();
        IndexManagerTimings timings;
        timings.tickInterval = std::chrono::hours(1);
        timings.writerPause = std::chrono::milliseconds(0);
        timings.index.openWait = std::chrono::milliseconds(0);
        timings.index.mergePause = std::chrono::milliseconds(0);
        indexManager = std::make_unique<TarnixDBManager>(timings);
        indexManager->setMainController(&mainController);
        index.indexManager = indexManager.get();
    }

    // The index merges what the backups stored.
    void mergeIndex()
    {
        indexManager->updaterTimer();
        indexManager->waitForWriters();
    }

    // Backs up the tree, changes one file and backs up again (it gets a
    // second version), and merges the index.
    void backUpTwiceAndIndex()
    {
        startIndexManager();
        backUp();
        writeText(changedFile(), "the second version");
        setModified(changedFile());
        backUp();
        ASSERT_EQ(delegate.settledEndStates(), QStringList{"success"});
        mergeIndex();
    }
    QString changedFile() const { return tree() + "/d0/sub 0/plain.txt"; }

    // The account "ann" in sync mode as "annsync": the backup goes to the sync user's folder, returned.
    QString useSyncMode()
    {
        writeText(PathTemplate::fillTemplate(QLLocalizedString("BackupModePath"), {"ann"}), "0");
        PropertyList::write(PathTemplate::fillTemplate(QLLocalizedString("SyncDetailsFilePath"), {"ann"}),
                            QVariantMap{{"syncUserName", "annsync"},
                                        {"syncEncodedPassword", "TXE1:syncpw"},
                                        {"ruvosrvrip", "10.0.0.2"}});
        const QString syncRoot = volumes() + "/Drive/TarnixVidezud/annsync";
        QDir().mkpath(syncRoot);
        manager->setDestinationPath(syncRoot);
        return syncRoot;
    }

    // A restore of index picks into the target, as the restore views start one.
    void startRestore(const QStringList &folders, const QStringList &files)
    {
        restoreManager = makeRestoreManager(fastTimings(), restoreDelegate, applicationFolder(), userFolder(), target(),
                                            QLLocalizedString("ExecuterPathRuvo"));
        restoreManager->mFolderSetForRelativeRestore() = folders;
        restoreManager->mFileSetForRestore() = files;
        restoreManager->startRestore();
    }

    // Each source file is in the target below its own path, with its bytes, mode and time.
    void expectRestored(const QStringList &sources)
    {
        for (const QString &file : sources) {
            const QString restored = target() + file;
            ASSERT_TRUE(QFileInfo::exists(restored)) << restored.toStdString();
            EXPECT_EQ(readText(restored), readText(file)) << restored.toStdString();
            EXPECT_EQ(QFileInfo(restored).permissions(), QFileInfo(file).permissions()) << restored.toStdString();
            EXPECT_EQ(QFileInfo(restored).lastModified(), QFileInfo(file).lastModified()) << restored.toStdString();
        }
    }

    // Pauses a running session once it reports, checks that nothing moves, and
    // resumes it to its successful end.
    static void pauseThenResume(RuvoBackupManager &session, SessionRecorder &recorder)
    {
        ASSERT_TRUE(waitUntil([&recorder] { return !recorder.reports.isEmpty(); }, 20000));
        session.pause(true);
        spinFor(400);  // the engine sees the pause within its 100 ms poll
        const qsizetype reportsWhenPaused = recorder.reports.size();
        spinFor(500);
        EXPECT_EQ(recorder.reports.size(), reportsWhenPaused) << "no file moves while paused";
        EXPECT_TRUE(recorder.endStates.isEmpty());
        session.pause(false);
        ASSERT_TRUE(recorder.waitForEnd(30000));
        EXPECT_EQ(recorder.settledEndStates(), QStringList{"success"});
    }

    QStringList restoredFiles() const
    {
        QStringList files;
        QDirIterator it(target(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next().mid(target().size());
        files.sort();
        return files;
    }

    SessionRecorder delegate;
    RecordingIndexQueue index;
    std::unique_ptr<RuvoBackupManager> manager;
    FakeApplicationDelegate mainController;
    std::unique_ptr<TarnixDBManager> indexManager;
    SessionRecorder restoreDelegate;
    std::unique_ptr<RuvoBackupManager> restoreManager;
};

TEST_F(SessionEndToEndTest, BackupStoresEveryFileAndTellsTheIndex)
{
    backUp();
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"});
    expectDriveHoldsTree();
    EXPECT_FALSE(delegate.offMainThread);
    EXPECT_EQ(manager->succesFileCount(), treeFiles().size());
    EXPECT_EQ(manager->failureFileCount(), 0);

    QStringList indexed;
    for (const BackedUpFile &record : index.records) {
        indexed << record.filename;
        EXPECT_FALSE(record.encFilename.isEmpty());
        EXPECT_FALSE(record.folderID.isEmpty());
        EXPECT_EQ(record.mpcName, "/Office");
    }
    indexed.sort();
    EXPECT_EQ(indexed, treeFiles());
    ASSERT_FALSE(delegate.reports.isEmpty());
    EXPECT_EQ(delegate.reports.last().value("percentage"), "100");

    // Nothing changed: the second backup finds every file in sync.
    backUp();
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"});
    EXPECT_EQ(manager->succesFileCount(), 0);
    EXPECT_EQ(manager->syncFileCount(), treeFiles().size());
}

TEST_F(SessionEndToEndTest, CancelMidRunThenTheNextBackupCompletesTheSet)
{
    setScenario({{"lineDelayMs", 40}});
    manager->startBackup();
    ASSERT_TRUE(waitUntil([this] { return delegate.reports.size() >= 2; }, 20000));
    manager->CancelBackupProcess();
    ASSERT_TRUE(delegate.waitForEnd());
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"cancel"});
    EXPECT_LT(manager->succesFileCount(), treeFiles().size());

    qunsetenv("TXRUVO_SCENARIO");
    backUp();
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"});
    expectDriveHoldsTree();
}

TEST_F(SessionEndToEndTest, PauseHoldsTheEngineAndResumeLetsItFinish)
{
    setScenario({{"lineDelayMs", 100}});
    manager->startBackup();
    ASSERT_NO_FATAL_FAILURE(pauseThenResume(*manager, delegate));
    expectDriveHoldsTree();
}

TEST_F(SessionEndToEndTest, InjectedEngineErrorIsRetriedOnTheSameBlock)
{
    SessionTimings timings = fastTimings();
    timings.retryDelay = std::chrono::milliseconds(200);
    makeManager(timings);
    setScenario({{"errorText", "Connection refused"}, {"stopAfterFiles", 4}, {"stopMode", "exit"}, {"exitCode", 1}});
    manager->startBackup();
    ASSERT_TRUE(waitUntil([this] { return delegate.count("script call") > 0; }, 20000));
    setScenario({});  // the engines keep their environment for retries: the trouble goes, the file stays
    ASSERT_TRUE(delegate.waitForEnd(30000));
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"}) << delegate.events.join(" | ").toStdString();
    // Each engine that met the trouble before it went retried its own block once.
    EXPECT_GE(delegate.count("retrying"), 1);
    EXPECT_LE(delegate.count("retrying"), 2);
    expectDriveHoldsTree();
    // Each file counts once, though the retried block reported the files stored before the trouble again.
    EXPECT_EQ(manager->succesFileCount(), treeFiles().size());
    EXPECT_EQ(manager->incSuccessFileCount(), 0);
}

TEST_F(SessionEndToEndTest, EngineKilledMidRunLosesNoFile)
{
    SessionTimings timings = fastTimings();
    timings.retryDelay = std::chrono::milliseconds(200);
    makeManager(timings);
    setScenario({{"stopAfterFiles", 7}, {"stopMode", "crash"}});
    manager->startBackup();
    ASSERT_TRUE(waitUntil([this] { return delegate.count("script call") > 0; }, 20000));
    setScenario({});  // the engines keep their environment for retries: the trouble goes, the file stays
    ASSERT_TRUE(delegate.waitForEnd(30000));
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"});
    expectDriveHoldsTree();

    backUp();
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"});
    EXPECT_EQ(manager->failureFileCount(), 0);
    expectDriveHoldsTree();
}

TEST_F(SessionEndToEndTest, MissingDriveIsACriticalFailureReportedOnce)
{
    manager->setDestinationPath(volumes() + "/Gone/TarnixVidezud/ann/Office");
    backUp();
    const QStringList ends = delegate.settledEndStates();
    ASSERT_EQ(ends.size(), 1);
    EXPECT_TRUE(ends.first().startsWith("failure: txruvo error: device is not connected"))
        << ends.first().toStdString();
}

TEST_F(SessionEndToEndTest, RestoresAFolderAndFilesPickedFromTheIndex)
{
    backUpTwiceAndIndex();
    const QString quoted = tree() + "/d2/sub 1/quote\"amp&lt<.txt";
    startRestore({"Office" + tree() + "/d1"},
                 {"/Office" + changedFile(), "/Office" + quoted, "/Office" + tree() + "/large.bin"});
    ASSERT_TRUE(restoreDelegate.waitForEnd(30000));
    EXPECT_EQ(restoreDelegate.settledEndStates(), QStringList{"success"})
        << restoreDelegate.events.join(" | ").toStdString();
    EXPECT_FALSE(restoreDelegate.offMainThread);

    QStringList expected{changedFile(), quoted, tree() + "/large.bin"};
    for (const QString &file : treeFiles())
        if (file.startsWith(tree() + "/d1/"))
            expected << file;
    expected.sort();
    EXPECT_EQ(restoredFiles(), expected) << "the picks and nothing else";
    expectRestored(expected);
    EXPECT_EQ(readText(target() + changedFile()), "the second version");
    EXPECT_EQ(restoreManager->succesFileCount(), expected.size());
    EXPECT_EQ(restoreDelegate.count("listed"), 1);
}

// A private folder picked for a restore comes back with its own mode and
// times, not opened up to other users.
TEST_F(SessionEndToEndTest, RestoredFoldersKeepTheirModeAndTimes)
{
    struct Folder
    {
        QString path;
        mode_t mode;
        timespec modified;
    };
    const Folder folders[] = {{tree() + "/d1/sub 1", 0750, {1500000000, 250}}, {tree() + "/d1", 0700, {1400000000, 7}}};
    for (const Folder &folder : folders) {
        const timespec times[2] = {folder.modified, folder.modified};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(folder.path).constData(), times, 0), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(folder.path).constData(), folder.mode), 0);
    }
    backUpTwiceAndIndex();
    startRestore({"Office" + tree() + "/d1"}, {});
    ASSERT_TRUE(restoreDelegate.waitForEnd(30000));
    EXPECT_EQ(restoreDelegate.settledEndStates(), QStringList{"success"})
        << restoreDelegate.events.join(" | ").toStdString();

    for (const Folder &folder : folders) {
        struct stat restored
        {};
        ASSERT_EQ(::stat(QFile::encodeName(target() + folder.path).constData(), &restored), 0);
        EXPECT_EQ(restored.st_mode & 07777, folder.mode) << folder.path.toStdString();
        EXPECT_EQ(restored.st_mtim.tv_sec, folder.modified.tv_sec) << folder.path.toStdString();
        EXPECT_EQ(restored.st_mtim.tv_nsec, folder.modified.tv_nsec) << folder.path.toStdString();
    }
}

// Links inside a backed-up folder are kept as links, whatever they point to,
// and come back as links: never followed, never left out.
TEST_F(SessionEndToEndTest, LinksInAFolderAreStoredAndRestoredAsLinks)
{
    const QString folder = tree() + "/links";
    const QMap<QString, QByteArray> links{
        {"to-file", "../d0/sub 0/plain.txt"}, {"to-folder", "../d1"}, {"broken", "nowhere/at/all"}};
    QDir().mkpath(folder);
    for (auto link = links.cbegin(); link != links.cend(); ++link)
        ASSERT_EQ(::symlink(link.value().constData(), QFile::encodeName(folder + "/" + link.key()).constData()), 0);
    const auto expectLinks = [&](const QString &top) {
        for (auto link = links.cbegin(); link != links.cend(); ++link) {
            const QByteArray path = QFile::encodeName(top + folder + "/" + link.key());
            char text[256] = {};
            ASSERT_EQ(::readlink(path.constData(), text, sizeof text - 1), link.value().size()) << path.constData();
            EXPECT_EQ(QByteArray(text), link.value()) << path.constData();
        }
    };

    startIndexManager();
    backUp();
    ASSERT_EQ(delegate.settledEndStates(), QStringList{"success"});
    expectLinks(dataRoot());
    mergeIndex();

    startRestore({"Office" + folder}, {});
    ASSERT_TRUE(restoreDelegate.waitForEnd(30000));
    EXPECT_EQ(restoreDelegate.settledEndStates(), QStringList{"success"})
        << restoreDelegate.events.join(" | ").toStdString();
    expectLinks(target());
    EXPECT_EQ(restoreManager->succesFileCount(), links.size());
}

TEST_F(SessionEndToEndTest, CancelDuringARestoreEndsOnceAsCancel)
{
    backUpTwiceAndIndex();
    setScenario({{"lineDelayMs", 40}});
    startRestore({"Office" + tree()}, {});
    ASSERT_TRUE(waitUntil([this] { return restoreDelegate.reports.size() >= 2; }, 20000));
    restoreManager->CancelBackupProcess();
    ASSERT_TRUE(restoreDelegate.waitForEnd());
    EXPECT_EQ(restoreDelegate.settledEndStates(), QStringList{"cancel"});
    EXPECT_LT(restoredFiles().size(), treeFiles().size());
    EXPECT_FALSE(restoreManager->isRunning());
}

TEST_F(SessionEndToEndTest, PauseHoldsARestoreAndResumeLetsItFinish)
{
    backUpTwiceAndIndex();
    setScenario({{"lineDelayMs", 100}});
    startRestore({"Office" + tree()}, {});
    ASSERT_NO_FATAL_FAILURE(pauseThenResume(*restoreManager, restoreDelegate));
    expectRestored(treeFiles());
}

// Sync mode: the account's sync details name the remote user and password;
// the items are stored below the sync user's folder under their path below
// the selection's parent, and come back from the index byte for byte.
TEST_F(SessionEndToEndTest, SyncModeBacksUpAndRestoresTheTree)
{
    const QString syncRoot = useSyncMode();
    TXSupportFileManager::txFileManager().setSyncUserName("annsync");
    startIndexManager();
    mainController.backupMode = false;
    mainController.account.setMSyncUserName("annsync");
    mainController.backupPath = syncRoot;
    backUp();
    ASSERT_EQ(delegate.settledEndStates(), QStringList{"success"}) << delegate.events.join(" | ").toStdString();
    for (const QString &file : treeFiles())
        EXPECT_EQ(readText(syncRoot + file.mid(root().size())), readText(file)) << file.toStdString();
    mergeIndex();

    restoreManager = makeRestoreManager(fastTimings(), restoreDelegate, applicationFolder(), syncRoot, target(),
                                        QLLocalizedString("SyncExecuterPathRuvo"));
    restoreManager->mFolderSetForRelativeRestore() = {"tree"};
    restoreManager->startRestore();
    ASSERT_TRUE(restoreDelegate.waitForEnd(30000));
    EXPECT_EQ(restoreDelegate.settledEndStates(), QStringList{"success"})
        << restoreDelegate.events.join(" | ").toStdString();
    QStringList expected;
    for (const QString &file : treeFiles())
        expected << file.mid(root().size());
    EXPECT_EQ(restoredFiles(), expected) << restoreDelegate.events.join(" | ").toStdString();
    for (const QString &file : treeFiles())
        EXPECT_EQ(readText(target() + file.mid(root().size())), readText(file)) << file.toStdString();
}

// A pause belongs to its session: after pause then cancel, the next backup on
// the same manager moves, and Pause works in it again.
TEST_F(SessionEndToEndTest, APauseEndsWithItsSession)
{
    setScenario({{"lineDelayMs", 40}});
    manager->startBackup();
    ASSERT_TRUE(waitUntil([this] { return !delegate.reports.isEmpty(); }, 20000));
    manager->pause(true);
    manager->CancelBackupProcess();
    ASSERT_TRUE(delegate.waitForEnd());
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"cancel"});
    EXPECT_NE(manager->bandWidthThrottleValue(), "-1");

    qunsetenv("TXRUVO_SCENARIO");
    delegate.endStates.clear();
    manager->startBackup();
    ASSERT_TRUE(delegate.waitForEnd(15000)) << "the next backup never moved";
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"});
    expectDriveHoldsTree();

    setScenario({{"lineDelayMs", 100}});
    delegate.reports.clear();
    delegate.endStates.clear();
    manager->startBackup();
    ASSERT_NO_FATAL_FAILURE(pauseThenResume(*manager, delegate));
}

// A restore ends as a success only when every file it listed was run: any
// reason that stopped its engines ends it as a failure.
TEST_F(SessionEndToEndTest, RestoreEndStates)
{
    backUpTwiceAndIndex();
    const struct
    {
        const char *name;
        QVariantMap scenario;
        QString end;
    } cases[] = {
        {"every file run", {}, "success"},
        {"quota phrase",
         {{"errorText", "some files could not be transferred due to quota over limit"},
          {"stopAfterFiles", 2},
          {"stopMode", "exit"},
          {"exitCode", 0}},
         "failure: Quota Exceeded"},
        {"free space",
         {{"errorText", "not enough free space on device"}, {"stopAfterFiles", 2}, {"stopMode", "exit"}},
         "failure: not enough free space on device"},
        {"maintenance",
         {{"errorText", "account is under maintenance"}, {"stopAfterFiles", 2}, {"stopMode", "exit"}},
         "failure: Account is under maintenance"},
        {"engine ended early without a word",
         {{"stopAfterFiles", 3}, {"stopMode", "exit"}, {"exitCode", 0}},
         "failure: Unable to continue the operation. Reason: "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(target()).removeRecursively();
        setScenario(c.scenario);
        restoreDelegate.endStates.clear();
        startRestore({"Office" + tree()}, {});
        ASSERT_TRUE(restoreDelegate.waitForEnd(30000));
        const QStringList ends = restoreDelegate.settledEndStates();
        ASSERT_EQ(ends.size(), 1);
        EXPECT_TRUE(ends.first().startsWith(c.end)) << ends.first().toStdString();
    }
}

// An unreadable folder inside the selection is a failure that names it, as an
// unreadable file is; the rest of the selection is backed up.
TEST_F(SessionEndToEndTest, UnreadableFolderIsAFailureNamedInTheErrors)
{
    if (rerunAsAnotherUser())
        return;
    const QString locked = tree() + "/locked";
    writeText(locked + "/secret.txt", "s");
    QFile::setPermissions(locked, QFile::WriteOwner);
    backUp();
    const QStringList ends = delegate.settledEndStates();
    expectDriveHoldsTree();
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(ends, QStringList{"failure: "});
    EXPECT_EQ(manager->failureFileCount(), 1);
    EXPECT_TRUE(delegate.events.contains("error: Error: " + locked + " Reason: Permission denied"))
        << delegate.events.join(" | ").toStdString();
}

// A failed file's name never decides what its error means: files named after
// the engine's phrases fail alone, and every other file is still tried.
TEST_F(SessionEndToEndTest, AFileNameIsNeverReadAsTheEnginesPhrase)
{
    const QStringList names{"device is not connected.txt", "aaa error in file write.txt",
                            "some files could not be transferred due to quota over limit.txt",
                            "account is under maintenance.txt"};
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString file = tree() + "/d3/" + name;
        writeText(file, "unreadable");
        setScenario({{"failFiles", QVariantMap{{file, "Permission denied"}}}});
        backUp();
        EXPECT_EQ(delegate.settledEndStates(), QStringList{"failure: "});
        EXPECT_EQ(manager->failureFileCount(), 1);
        EXPECT_TRUE(delegate.events.contains("error: Error: " + file + " Reason: Permission denied"))
            << delegate.events.join(" | ").toStdString();
        QFile::remove(file);
        expectDriveHoldsTree();
    }
}

// Sync mode walks a selected link to a folder under the link's own path.
TEST_F(SessionEndToEndTest, SyncModeBacksUpASelectedLinkToAFolder)
{
    const QString syncRoot = useSyncMode();
    const QString target = tree() + "/d1";
    QDir().mkpath(root() + "/links");
    ASSERT_TRUE(QFile::link(target, root() + "/links/shortcut"));
    manager->setFileFolderSetForOperation({root() + "/links/shortcut"});
    backUp();
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"}) << delegate.events.join(" | ").toStdString();
    EXPECT_EQ(manager->failureFileCount(), 0);
    for (const QString &file : treeFiles())
        if (file.startsWith(target + "/")) {
            EXPECT_EQ(readText(syncRoot + "/shortcut" + file.mid(target.size())), readText(file)) << file.toStdString();
        }
}

// Names the engine cannot be given fail with their reason; nothing is taken
// for the user's exclusion, and every other file is backed up.
TEST_F(SessionEndToEndTest, OddNamesFailWithTheirReason)
{
    const QString lineBreak = tree() + "/d4/two\nlines.txt";
    writeText(lineBreak, "x");
    const QByteArray notUtf8 = QFile::encodeName(tree() + "/d4/") + "bad\xff.txt";
    const int fd = ::open(notUtf8.constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);
    backUp();
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"failure: "});
    EXPECT_EQ(manager->failureFileCount(), 2);
    EXPECT_EQ(manager->excludedFilesCount(), 0u);
    const QString errors = delegate.events.join(" | ");
    EXPECT_TRUE(errors.contains("error: Error: " + lineBreak + " Reason: name holds a line break"))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains("/d4/bad") && errors.contains(" Reason: name is not valid UTF-8"))
        << errors.toStdString();
    QFile::remove(lineBreak);
    ::unlink(notUtf8.constData());
    expectDriveHoldsTree();
}

// A file system other than a local disk's mounted below the selection is not
// backed up, and the session names it.
TEST_F(SessionEndToEndTest, AMountBelowTheSelectionIsNamedAndNotBackedUp)
{
    switch (rerunInMountNamespace()) {
    case MountNamespace::Parent:
        return;
    case MountNamespace::CannotMount:
        GTEST_SKIP() << "this machine allows no user and mount namespace: no mount below the selection can be made";
    case MountNamespace::Child:
        break;
    }
    const QString mounted = tree() + "/d2/memory";
    QDir().mkpath(mounted);
    ASSERT_EQ(::mount("none", QFile::encodeName(mounted).constData(), "tmpfs", 0, nullptr), 0) << std::strerror(errno);
    writeText(mounted + "/in memory.txt", "m");
    backUp();
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"});
    EXPECT_TRUE(delegate.events.contains("error: Skipped: " + mounted +
                                         " Reason: a memory file system (tmpfs) is mounted here, not backed up"))
        << delegate.events.join(" | ").toStdString();
    EXPECT_FALSE(QFileInfo::exists(dataRoot() + mounted + "/in memory.txt"));
    ::umount(QFile::encodeName(mounted).constData());
    expectDriveHoldsTree();
}

// A file backed up and deleted locally before the index's next tick still
// enters the index: it can be restored (and offered for cleanup).
TEST_F(SessionEndToEndTest, TheIndexLearnsAFileDeletedBeforeItsTick)
{
    startIndexManager();
    const QByteArray content = readText(changedFile());
    backUp();
    ASSERT_EQ(delegate.settledEndStates(), QStringList{"success"});
    QFile::remove(changedFile());
    mergeIndex();
    startRestore({}, {"/Office" + changedFile()});
    ASSERT_TRUE(restoreDelegate.waitForEnd(30000));
    EXPECT_EQ(restoreDelegate.settledEndStates(), QStringList{"success"})
        << restoreDelegate.events.join(" | ").toStdString();
    EXPECT_EQ(readText(target() + changedFile()), content);
}

}  // namespace
