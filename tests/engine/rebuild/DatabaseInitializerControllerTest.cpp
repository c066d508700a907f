#include "engine/rebuild/DatabaseInitializerController.h"
#include "common/files/TXSupportFileManager.h"
#include "common/texts/QLLocalizedString.h"
#include "common/transfer/FileTransferData.h"
#include "engine/EngineTestSupport.h"
#include "engine/parsing/QLSYNCParser.h"
#include "engine/rebuild/DatabaseInitializerControllerDelegateProtocol.h"
#include "index/TXDatabaseWrapper.h"
#include "index/TXDatabaseWrapperDelegate.h"
#include "index/manager/ManagerFixture.h"
#include "platform/PathStandardizer.h"
#include "platform/PathTemplate.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

namespace {

// What the browser hears, in order: "start", "error: <text>", "finish: replaced" or "finish: kept".
class RecordingRebuildDelegate : public DatabaseInitializerControllerDelegateProtocol
{
public:
    void databaseInitialisationDidStart(DatabaseInitializerController *) override { events << "start"; }
    void databaseInitialisationDidFailWitherror(const QString &error) override { events << "error: " + error; }
    void databaseInitialisationDidFinish(DatabaseInitializerController *controller) override
    {
        events << (controller->indexWasReplaced() ? "finish: replaced" : "finish: kept");
    }
    bool finished() const { return !events.isEmpty() && events.last().startsWith("finish"); }

    QStringList events;
};

class RecordingQueryDelegate : public TXDatabaseWrapperDelegate
{
public:
    void queryFinishedWithEntries(const IndexEntries &entries) override { records = entries; }
    void queryFailedWithError(const QString &error) override { failure = error; }
    IndexEntries records;
    QString failure;
};

// A drive "Backup" with the data root of the user "ann" and her computer
// folder "Office", the stand-in engine, and the index folder the client keeps on the drive.
class DatabaseInitializerControllerTest : public ManagerFixture
{
protected:
    void SetUp() override
    {
        ManagerFixture::SetUp();
        QDir().mkpath(computerFolder());
    }
    void TearDown() override
    {
        qunsetenv("TXRUVO_SCENARIO");
        qunsetenv("TXRUVO_ARGV_LOG");
        ManagerFixture::TearDown();
    }

    static IndexTimings indexTimings() { return testTimings().index; }
    static DatabaseInitializerTimings rebuildTimings()
    {
        using std::chrono::milliseconds;
        return {{milliseconds(20), milliseconds(50), milliseconds(10)}, indexTimings()};
    }

    QString engine() const { return qEnvironmentVariable("TX_BIN_DIR") + "/txruvo"; }
    QString computerFolder() const { return dataRoot() + "/Office"; }
    // The index the rebuild writes: the backup mode's unless a test says otherwise.
    QString rebuiltIndexFolder() const { return mIndexFolder.isEmpty() ? indexFolder() : mIndexFolder; }
    QString indexUser() const { return mIndexUser.isEmpty() ? kUser : mIndexUser; }

    void setScenario(const QVariantMap &scenario)
    {
        const QString path = root() + "/scenario.plist";
        ASSERT_TRUE(PropertyList::write(path, scenario));
        qputenv("TXRUVO_SCENARIO", path.toUtf8());
    }

    // Backs the local files up through the stand-in, as a backup session does,
    // and hands every stored file to an index manager, which journals and merges them.
    void backUp(const QStringList &localFiles)
    {
        const QString operation = root() + "/operation";
        writeText(operation + "/list", localFiles.join('\n').toUtf8());
        QProcess process;
        process.start(engine(), {"--o=" + operation + "/out", "--e=" + operation + "/err", "--relative",
                                 "--portable-dest=" + computerFolder(), "--files-from=" + operation + "/list", "/",
                                 kUser + "@10.0.0.1::home" + computerFolder()});
        ASSERT_TRUE(process.waitForFinished(20000));
        ASSERT_EQ(process.exitCode(), 0) << readText(operation + "/err").toStdString();

        startManager();
        FileTransferData line;
        for (const QString &text : QString::fromUtf8(readText(operation + "/out")).split('\n', Qt::SkipEmptyParts)) {
            ASSERT_EQ(QLSYNCParser::ParseLineStr(text, line, 0), QLSYNCParser::Parsed);
            if (line.per() == "100") {
                manager->addBackedUpFile(
                    {line.fname(), QString(), line.file_ver(), line.folder_id(), line.mpc(), line.enc_name()});
            }
        }
        manager.reset();
    }

    // Runs a rebuild to its end. Blocks of listing text given here reach the
    // controller before any of the engine's own.
    void rebuild(const QStringList &injectedOutput = {}, bool backupMode = true)
    {
        DatabaseInitializerController controller(rebuildTimings());
        User account;
        account.setUserName(kUser);
        controller.setUser(account);
        controller.setDestinationDrive(dataRoot());
        controller.setMpcName("/Office");
        controller.setMExecutorPath(engine());
        controller.setMBackupMode(backupMode);
        controller.setDelegate(&delegate);
        controller.startIndexing();
        for (const QString &block : injectedOutput)
            controller.updateProgress(block, nullptr);
        ASSERT_TRUE(waitUntil([this] { return delegate.finished(); }, 20000))
            << delegate.events.join('\n').toStdString();
    }

    // The browser's view of the whole index: every folder, and every file with
    // its date, size, version and identities on the drive.
    QStringList listing(const QString &folder = QString()) const
    {
        TXDatabaseWrapper index(indexTimings());
        RecordingQueryDelegate reader;
        index.setDelegate(&reader);
        if (!index.initializeDatabaseAtPath(rebuiltIndexFolder(), indexUser(), 1))
            return {"(no index)"};
        index.fetchChildrenForPath(folder);
        QStringList lines;
        for (const IndexEntry &record : reader.records) {
            const QString name = record.fileName;
            if (record.isFolder()) {
                lines << "D " + name;
                lines += listing(name.mid(1).chopped(1));
                continue;
            }
            const QString path = (folder.isEmpty() ? "/" : "/" + folder + "/") + name;
            TXDatabaseWrapper identities(indexTimings());
            RecordingQueryDelegate identityReader;
            identities.setDelegate(&identityReader);
            identities.initializeDatabaseAtPath(rebuiltIndexFolder(), indexUser(), 1);
            identities.searchEncryptedNameForPath(path.mid(1));
            const IndexEntry identity = identityReader.records.value(0);
            lines << QStringList{"F " + path,
                                 record.fileModificationDate,
                                 QString::number(record.fileSize),
                                 QString::number(record.versionInfo),
                                 identity.folderID,
                                 identity.mpcName,
                                 identity.encFilename}
                         .join(' ');
        }
        return lines;
    }

    static QString line(const QString &fname, const QString &mpc = "/Office")
    {
        return QString("<file size=\"3\" mod_time=\"2014-05-06 10:11:12 +0000\" file_ver=\"1\" folder_id=\"f1\" "
                       "mpc=\"%1\" enc_name=\"e1\" fname=\"%2\"/>\n")
            .arg(mpc, fname);
    }

    RecordingRebuildDelegate delegate;
    QString mIndexFolder;  // empty: the backup-mode index folder
    QString mIndexUser;
};

TEST_F(DatabaseInitializerControllerTest, ARebuildAfterABackupGivesTheIndexTheJournalsGave)
{
    const QString docs = root() + "/local/Users/ann/Docs";
    writeText(docs + "/a.txt", "first");
    writeText(docs + "/Quote \"and\" <amp&>.txt", "q");
    writeText(docs + "/deep/er/b.txt", "b");
    writeText(root() + "/local/top.txt", "t");
    // Named like the engine's own markers: stored escaped, listed under its own name.
    writeText(docs + "/notes_.chk", "n");
    ASSERT_TRUE(QFile::link("a.txt", docs + "/link"));
    const QStringList files = {docs + "/a.txt",         docs + "/Quote \"and\" <amp&>.txt",
                               docs + "/deep/er/b.txt", root() + "/local/top.txt",
                               docs + "/notes_.chk",    docs + "/link"};
    backUp(files);
    // A changed file is stored again as its second version.
    writeText(docs + "/a.txt", "second, longer");
    QFile(docs + "/a.txt").setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    backUp({docs + "/a.txt"});
    const QStringList fromJournals = listing();
    ASSERT_EQ(fromJournals.filter(QRegularExpression("^F ")).size(), 6) << fromJournals.join('\n').toStdString();
    ASSERT_TRUE(fromJournals.filter(QRegularExpression("a\\.txt .* 2 ")).size() == 1)
        << fromJournals.join('\n').toStdString();

    QFile::remove(mainIndexPath());
    rebuild();
    EXPECT_EQ(delegate.events, (QStringList{"start", "finish: replaced"}));
    QStringList rebuilt = listing();
    QStringList journaled = fromJournals;
    // Files of a folder come in the order they were added, which differs.
    rebuilt.sort();
    journaled.sort();
    EXPECT_EQ(rebuilt, journaled);
}

TEST_F(DatabaseInitializerControllerTest, RunsTheEngineWithExactlyTheSixArgumentsOfARebuild)
{
    const QString log = root() + "/argv.log";
    qputenv("TXRUVO_ARGV_LOG", log.toUtf8());
    rebuild();
    const QJsonArray argv = QJsonDocument::fromJson(readText(log).trimmed()).object().value("argv").toArray();
    ASSERT_EQ(argv.size(), 6);
    EXPECT_EQ(argv.at(0).toString(), engine());
    EXPECT_EQ(argv.at(1).toString(), "--expressdb-recreate");
    EXPECT_EQ(argv.at(2).toString(), "--portable-dest=" + dataRoot());
    EXPECT_TRUE(argv.at(3).toString().startsWith("--o=") && argv.at(3).toString().endsWith("/reindexOutput.txt"));
    EXPECT_TRUE(argv.at(4).toString().startsWith("--e=") && argv.at(4).toString().endsWith("/reindexError.txt"));
    EXPECT_EQ(argv.at(5).toString(), "--user=" + kUser);
}

TEST_F(DatabaseInitializerControllerTest, ReadsLinesOfTwentyThreeCharactersOrMoreAndSkipsFilesWithoutAName)
{
    // 22 characters: not a line of the listing.
    const QString shortLine = "<file fname=\"/ab.tx\"/>\n";
    ASSERT_EQ(shortLine.size() - 1, 22);
    rebuild(
        {line("/top.txt") + shortLine + line("(null)") + line("/Users/ann/a.txt"), line("/Users/ann/b.txt", "Office")});
    EXPECT_EQ(delegate.events, (QStringList{"start", "finish: replaced"}));
    EXPECT_EQ(listing(), (QStringList{"D /Office/", "D /Office/Users/", "D /Office/Users/ann/",
                                      "F /Office/Users/ann/a.txt 2014-05-06 10:11:12 +0000 3 1 f1 /Office e1",
                                      "F /Office/Users/ann/b.txt 2014-05-06 10:11:12 +0000 3 1 f1 Office e1",
                                      "F /Office/top.txt 2014-05-06 10:11:12 +0000 3 1 f1 /Office e1"}));

    // 23 characters: read, and a file the index cannot keep (no identities).
    const QString readLine = "<file fname=\"/ab.txt\"/>\n";
    ASSERT_EQ(readLine.size() - 1, 23);
    delegate.events.clear();
    rebuild({readLine});
    EXPECT_EQ(delegate.events.last(), "finish: kept");
}

TEST_F(DatabaseInitializerControllerTest, InSyncModeTheSyncUsersIndexIsRebuiltAndAFileAtTheTopGoesInTheRoot)
{
    const QString syncUser = "annsync";
    writeText(PathTemplate::fillTemplate(QLLocalizedString("BackupModePath"), {kUser}), "0");
    ASSERT_TRUE(PropertyList::write(PathStandardizer::standardizePath(
                                        PathTemplate::fillTemplate(QLLocalizedString("SyncDetailsFilePath"), {kUser})),
                                    QVariantMap{{"syncUserName", syncUser}}));
    TXSupportFileManager::txFileManager().setSyncUserName(syncUser);
    QDir().mkpath(volumes() + "/Backup/TarnixVidezud/" + syncUser);
    mIndexFolder = volumes() + "/Backup/TarnixVidezud/Sync/" + syncUser + "/.index";
    mIndexUser = syncUser;
    const QString log = root() + "/argv.log";
    qputenv("TXRUVO_ARGV_LOG", log.toUtf8());
    rebuild({line("/top.txt", "/ann") + line("/Docs/a.txt", "/ann")}, false);
    EXPECT_EQ(delegate.events.last(), "finish: replaced");
    EXPECT_TRUE(QString::fromUtf8(readText(log)).contains("\"--user=" + syncUser + "\""))
        << readText(log).toStdString();
    EXPECT_EQ(listing(), (QStringList{"D /Docs/", "F /Docs/a.txt 2014-05-06 10:11:12 +0000 3 1 f1 /ann e1",
                                      "F /top.txt 2014-05-06 10:11:12 +0000 3 1 f1 /ann e1"}));
}

TEST_F(DatabaseInitializerControllerTest, AnEmptyDriveGivesAnEmptyIndex)
{
    rebuild({line("/old.txt")});
    ASSERT_EQ(listing().size(), 2);
    delegate.events.clear();
    rebuild();
    EXPECT_EQ(delegate.events, (QStringList{"start", "finish: replaced"}));
    EXPECT_EQ(listing(), QStringList());
}

TEST_F(DatabaseInitializerControllerTest, AFailedRebuildKeepsThePreviousIndex)
{
    writeText(root() + "/local/a.txt", "a");
    writeText(root() + "/local/b.txt", "b");
    backUp({root() + "/local/a.txt", root() + "/local/b.txt"});
    const QStringList before = listing();
    ASSERT_EQ(before.filter(QRegularExpression("^F ")).size(), 2);

    struct Case
    {
        const char *what;
        QVariantMap scenario;
        QStringList injected;
    };
    const Case cases[] = {
        {"engine errors", {{"errorText", "Connection refused"}}, {}},
        {"engine dies mid-listing", {{"stopMode", "crash"}, {"stopAfterFiles", 1}}, {}},
        {"engine exits early", {{"stopMode", "exit"}, {"stopAfterFiles", 1}, {"exitCode", 3}}, {}},
        {"malformed lines", {}, {"this is no line of a listing at all\n"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        setScenario(c.scenario);
        delegate.events.clear();
        rebuild(c.injected);
        ASSERT_GE(delegate.events.size(), 3);
        EXPECT_EQ(delegate.events.first(), "start");
        EXPECT_TRUE(delegate.events.at(delegate.events.size() - 2).startsWith("error: The index was not rebuilt"));
        EXPECT_EQ(delegate.events.last(), "finish: kept");
        EXPECT_EQ(listing(), before);
        EXPECT_EQ(QDir(indexFolder()).entryList(QDir::Files), QStringList{kUser + ".qlenc"});
    }
}

TEST_F(DatabaseInitializerControllerTest, AMissingDriveIsReportedAndTheIndexKept)
{
    rebuild({line("/old.txt")});
    const QStringList before = listing();
    QDir(computerFolder()).removeRecursively();
    delegate.events.clear();
    DatabaseInitializerController controller(rebuildTimings());
    User account;
    account.setUserName(kUser);
    controller.setUser(account);
    controller.setDestinationDrive(volumes() + "/Gone/TarnixVidezud/" + kUser);
    controller.setMExecutorPath(engine());
    controller.setDelegate(&delegate);
    controller.startIndexing();
    ASSERT_TRUE(waitUntil([this] { return delegate.finished(); }, 20000));
    EXPECT_TRUE(delegate.events.filter("device is not connected").size() == 1)
        << delegate.events.join('\n').toStdString();
    EXPECT_EQ(delegate.events.last(), "finish: kept");
    EXPECT_EQ(listing(), before);
}

}  // namespace
