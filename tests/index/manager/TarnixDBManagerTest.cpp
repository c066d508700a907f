#include "ManagerFixture.h"

#include "index/TXDatabaseWrapper.h"
#include "index/journals/FinishedJournals.h"
#include "platform/PropertyList.h"

#include <QFile>

#include <thread>

class TarnixDBManagerTest : public ManagerFixture
{};

TEST_F(TarnixDBManagerTest, AFileReportedTwiceInOneTickGivesOneRowFromTheLaterRecord)
{
    startManager();
    const QString file = localFile("Docs/a.txt");
    manager->addBackedUpFile(backedUp(file, "1", "first"));
    manager->addBackedUpFile(backedUp(file, "2", "second"));
    tickAndWait();
    EXPECT_EQ(fileRows(), QStringList{"/Office" + file + " v2 second"});
}

TEST_F(TarnixDBManagerTest, ATickStartsOnlyTheWritersThatHaveWork)
{
    startManager();
    tickAndWait();
    EXPECT_EQ(manager->writersStarted().backedUpFiles, 0);
    EXPECT_EQ(manager->writersStarted().deletions, 0);

    const QString kept = localFile("Docs/kept.txt");
    const QString gone = localFile("Docs/gone.txt");
    manager->addBackedUpFile(backedUp(kept));
    manager->addBackedUpFile(backedUp(gone));
    tickAndWait();
    ASSERT_EQ(fileRows().size(), 2);

    manager->addFileToDelete("/Office" + gone);
    manager->addFileToDelete("/Office" + gone);
    tickAndWait();
    EXPECT_EQ(manager->writersStarted().backedUpFiles, 1);
    EXPECT_EQ(manager->writersStarted().deletions, 1);
    EXPECT_EQ(fileRows(), QStringList{"/Office" + kept + " v1 enc"});
}

TEST_F(TarnixDBManagerTest, WritesNoRowForWhatIsNotAStoredFileOfThisMachine)
{
    startManager();
    const QString folder = home() + "/Docs/sub";
    QDir().mkpath(folder);
    const QString vanished = localFile("Docs/vanished.txt");
    BackedUpFile withoutFolderID = backedUp(localFile("Docs/nofolder.txt"));
    withoutFolderID.folderID = QString();
    // What the extended-attribute lists pass: no identities on the drive.
    BackedUpFile attributesOnly;
    attributesOnly.filename = localFile("Docs/list.xattr");
    attributesOnly.versionNumber = "-1";
    for (const BackedUpFile &record :
         {backedUp("/private/tmp/a.txt"), backedUp(folder), backedUp(vanished), withoutFolderID, attributesOnly})
        manager->addBackedUpFile(record);
    manager->addBackedUpFile(BackedUpFile());
    manager->addFileToDelete(QString());
    QFile::remove(vanished);
    tickAndWait();
    EXPECT_EQ(fileRows(), QStringList());
    EXPECT_EQ(manager->writersStarted().deletions, 0);
}

TEST_F(TarnixDBManagerTest, AFileGoneBeforeTheTickIsIndexedWithTheFactsTakenWhenStored)
{
    startManager();
    BackedUpFile gone = backedUp(home() + "/Docs/gone.txt");
    gone.size = 5;
    gone.modificationTime = 1600000000;
    manager->addBackedUpFile(gone);
    tickAndWait();
    EXPECT_EQ(fileRows(), QStringList{"/Office" + gone.filename + " v1 enc"});
}

// A queue that reaches its bound goes to a writer before the tick, and while
// writers hold enough files, the next ones wait for theirs in a private local
// file: every file still reaches the index.
TEST_F(TarnixDBManagerTest, FilesBeyondTheBoundsGoToAWriterEarlyOrWaitOnDisk)
{
    IndexManagerTimings timings = testTimings();         // ticks an hour apart
    timings.writerPause = std::chrono::milliseconds(1);  // writers busy long enough for the next files to wait
    IndexManagerLimits limits;
    limits.queueBound = 500;
    limits.recordsInMemoryBound = 600;
    manager = std::make_unique<TarnixDBManager>(timings, limits);
    const QString spillFolder =
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::LDBTempFolderPath);
    QStringList expected;
    for (int i = 0; i < 2000; ++i) {
        BackedUpFile file = backedUp(home() + QStringLiteral("/Docs/f%1").arg(i, 4, 10, QLatin1Char('0')));
        file.size = 1;
        file.modificationTime = 1600000000;
        manager->addBackedUpFile(file);
        expected << "/Office" + file.filename + " v1 enc";
        if (i == 0)
            manager->setMainController(&mainController);
        if (i % 100 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    for (int attempt = 0; attempt < 500 && manager->writersStarted().backedUpFiles < 2; ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GE(manager->writersStarted().backedUpFiles, 2) << "full queues went to writers before the tick";
    EXPECT_GE(manager->writersStarted().spilled, 1) << "files waited for a writer on disk";
    manager->updaterTimer();  // the tick takes the rest
    manager->waitForWriters();
    EXPECT_EQ(fileRows(), expected);
    EXPECT_TRUE(QDir(spillFolder).entryList({"*.spill"}, QDir::Files).isEmpty()) << "every spill file was taken";
}

TEST_F(TarnixDBManagerTest, InSyncModeAFileIsIndexedUnderItsPathBelowTheSyncRoot)
{
    mainController.backupMode = false;
    mainController.account.setMSyncUserName(kUser);
    startManager();
    BackedUpFile withRelative = backedUp(localFile("Sync/Docs/a.txt"));
    withRelative.relativePath = "/Docs/a.txt";
    const QString withoutRelative = localFile("Sync/b.txt");
    manager->addBackedUpFile(withRelative);
    manager->addBackedUpFile(backedUp(withoutRelative));
    tickAndWait();
    EXPECT_EQ(fileRows(), (QStringList{"/Docs/a.txt v1 enc", withoutRelative + " v1 enc"}));
}

TEST_F(TarnixDBManagerTest, AListFileOnTheDriveIsIndexedWithoutTheDataRoot)
{
    startManager();
    const QString list = mainController.backupPath + "/Office/Users/ann/.lists/set.txxlist";
    writeText(list, "x");
    manager->addBackedUpFile(backedUp(list));
    tickAndWait();
    EXPECT_EQ(fileRows(), QStringList{"/Office/Users/ann/.lists/set.txxlist v1 enc"});
}

TEST_F(TarnixDBManagerTest, StopWritesWhatWasQueuedAndWhatCameLaterIsNot)
{
    startManager();
    const QString queued = localFile("Docs/queued.txt");
    manager->addBackedUpFile(backedUp(queued));
    manager->stopDBOperation();
    manager.reset();
    EXPECT_EQ(fileRows(), QStringList{"/Office" + queued + " v1 enc"});
}

TEST_F(TarnixDBManagerTest, AtTheProgramsEndWhatWasQueuedIsWrittenAndTheNextStartMergesIt)
{
    startManager();
    const QString queued = localFile("Docs/queued.txt");
    manager->addBackedUpFile(backedUp(queued));
    manager->stopAtSafePoint();
    manager.reset();
    // The program's end waits for no merge: the journal is written and kept.
    EXPECT_TRUE(fileRows().isEmpty());
    EXPECT_EQ(FinishedJournals::namesOldestFirst(indexFolder()).size(), 1);

    startManager();
    const QStringList expected = {"/Office" + queued + " v1 enc"};
    for (int attempt = 0; attempt < 200 && fileRows() != expected; ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(fileRows(), expected);
}

TEST_F(TarnixDBManagerTest, TheThreadTicksAtItsIntervalAndMergesLeftOverJournalsOnceTheMainControllerIsSet)
{
    // A journal an earlier run left finished but unmerged.
    {
        TXDatabaseWrapper journal(testTimings().index);
        ASSERT_TRUE(journal.initializeDatabaseAtPath(indexFolder(), QString(), 0));
        ASSERT_TRUE(journal.insertRecord({"/Office/old.txt", "2014-05-06 10:11:12 +0000", 1, "NA", "NA", false, "NA",
                                          "NA", 3, "fid", "/Office", "old"},
                                         false, 0));
        journal.commitTransaction();
        journal.unInitializeDatabase();
    }
    IndexManagerTimings timings = testTimings();
    timings.tickInterval = std::chrono::milliseconds(20);
    manager = std::make_unique<TarnixDBManager>(timings);
    const QString file = localFile("Docs/a.txt");
    manager->addBackedUpFile(backedUp(file));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(FinishedJournals::namesOldestFirst(indexFolder()).size(), 1) << "merged before the account was known";

    manager->setMainController(&mainController);
    const QStringList expected = {"/Office/old.txt v3 old", "/Office" + file + " v1 enc"};
    for (int attempt = 0; attempt < 200 && fileRows() != expected; ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(fileRows(), expected);
}

TEST_F(TarnixDBManagerTest, TheIndexDetailsFileKeepsOtherKeysAndIsForItsOwnerOnly)
{
    const QString path =
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::LDBDetailsFilePath);
    ASSERT_FALSE(path.isEmpty());
    QDir().mkpath(QFileInfo(path).absolutePath());
    mainController.account.setPassword("secret");
    mainController.account.setRuvoServerIP("10.0.0.1");
    mainController.account.setWebServerIP("web.example");

    struct Case
    {
        bool ruvoUser;
        bool defaultKey;
        QVariant encryptionKey;
    };
    for (const Case &c : {Case{false, false, QVariant()}, Case{true, true, "NA"}, Case{true, false, "key"}}) {
        SCOPED_TRACE(c.ruvoUser);
        mainController.account.setRuvoUser(c.ruvoUser);
        mainController.account.setISDefaultKey(c.defaultKey);
        QFile::remove(path);
        ASSERT_TRUE(PropertyList::write(path, QVariantMap{{"Other", "kept"}}));
        startManager();
        const QVariantMap details = PropertyList::readDictionary(path);
        EXPECT_EQ(details.value("Other"), "kept");
        EXPECT_EQ(details.value("User Name"), kUser);
        EXPECT_FALSE(details.value("Password").toString().isEmpty());
        EXPECT_NE(details.value("Password"), "secret");
        EXPECT_EQ(details.value("Server Address"), "10.0.0.1");
        EXPECT_EQ(details.value("Server IP"), "10.0.0.1");
        EXPECT_EQ(details.value("WebDAVServer"), "web.example");
        EXPECT_EQ(details.value("Account Type"), c.ruvoUser);
        EXPECT_EQ(details.value("Encryption Key"), c.encryptionKey);
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                QFileDevice::WriteOther | QFileDevice::ExeOther;
        EXPECT_EQ(QFile::permissions(path) & others, QFileDevice::Permissions());
        EXPECT_TRUE(QFile::permissions(path).testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    }
}

TEST_F(TarnixDBManagerTest, ArchiveCleanupFindsTheEntriesInsideAFolderOrTheFileItself)
{
    for (const QString &computerFolder : {QString("/Office"), QString()}) {
        SCOPED_TRACE(computerFolder.toStdString());
        QFile::remove(mainIndexPath());
        mainController.computerFolder = computerFolder;
        startManager();
        const QString docs = home() + "/Docs";
        const QString inside = localFile("Docs/sub/a.txt");
        const QString sibling = localFile("Docs2/b.txt");
        manager->addBackedUpFile(backedUp(inside));
        manager->addBackedUpFile(backedUp(sibling));
        tickAndWait();

        const QString indexed = computerFolder + docs;
        EXPECT_EQ(manager->getAllEntriesFromMainDBWithPathLike(indexed),
                  (QStringList{computerFolder + inside, indexed + "/", indexed + "/sub/"}));
        EXPECT_EQ(manager->getAllEntriesFromMainDBWithPathLike(computerFolder + sibling),
                  QStringList{computerFolder + sibling});
        EXPECT_EQ(manager->getAllEntriesFromMainDBWithPathLike(computerFolder + docs + "/none.txt"), QStringList());
        manager.reset();
    }
}
