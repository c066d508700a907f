#include "session/xattr/TXXattrBackupManager.h"

#include "common/texts/QLLocalizedString.h"
#include "platform/PropertyList.h"
#include "platform/TXXattrWrapper.h"
#include "session/vectors/SessionEngineVectors.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/xattr.h>

// Saving, uploading and putting back the attributes of a Time Machine
// database. They need a file system with user extended attributes: the
// tests are skipped where the temporary folder has none.

namespace {

using Attributes = TXXattrWrapper::Attributes;

const QString kListSuffix = ".txxlist";

class TXXattrBackupManagerTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        const QString probe = root() + "/probe";
        writeText(probe, "");
        if (!TXXattrWrapper::setData("1", "user.probe", probe, false))
            GTEST_SKIP() << "the temporary folder's file system keeps no user extended attributes";
    }

    QString database() const { return root() + "/tm/Backups.backupdb"; }
    QString output() const { return applicationFolder() + "/work/1" + database(); }

    static void mark(const QString &path, const Attributes &attributes)
    {
        TXXattrWrapper::setAllXattributes(attributes, path, false);
    }
    static Attributes attributesOf(const QString &path) { return TXXattrWrapper::allXattributes(path, false); }
    static QVariantMap row(const Attributes &attributes)
    {
        QVariantMap map;
        for (auto it = attributes.cbegin(); it != attributes.cend(); ++it)
            map.insert(it.key(), it.value());
        return map;
    }

    // A machine folder M with two snapshots (one file each) and the Finder's file.
    void makeDatabase()
    {
        writeText(database() + "/.DS_Store", "finder");
        writeText(database() + "/M/S1/file", "one");
        writeText(database() + "/M/S2/file", "two");
        mark(database() + "/M", {{"user.machine", "mac"}, {"user.empty", ""}});
        mark(database() + "/M/S1", {{"user.snapshot", QByteArray("\x00\x01\xff", 3)}});
    }

    void store()
    {
        QDir().mkpath(output());
        manager.storeXattributesForTimeMachine(database(), output());
    }

    TXXattrBackupManager manager;
};

TEST_F(TXXattrBackupManagerTest, OneListPerEntryWithItsOwnRowApartFromAChildOfTheSameName)
{
    makeDatabase();
    writeText(database() + "/M/M/file", "same name");
    mark(database() + "/M/M", {{"user.child", "c"}});
    writeText(database() + "/plain.txt", "p");
    mark(database() + "/plain.txt", {{"user.p", "1"}});
    store();

    EXPECT_EQ(QDir(output()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{".__M.txxlist", ".__plain.txt.txxlist"}));
    const QVariantMap list = PropertyList::readDictionary(TXXattrBackupManager::listFilePath(output(), "M"));
    EXPECT_EQ(list.keys(), (QStringList{"/", "M", "S1", "S2"}));
    EXPECT_EQ(list.value("/").toMap(), row({{"user.machine", "mac"}, {"user.empty", ""}}));
    EXPECT_EQ(list.value("M").toMap(), row({{"user.child", "c"}}));
    EXPECT_EQ(list.value("S1").toMap(), row({{"user.snapshot", QByteArray("\x00\x01\xff", 3)}}));
    EXPECT_TRUE(list.value("S2").toMap().isEmpty()) << "an item without attributes keeps its row";
    EXPECT_EQ(QFileInfo(TXXattrBackupManager::listFilePath(output(), "M")).permissions() & 0x0077, 0);
    EXPECT_EQ(PropertyList::readDictionary(TXXattrBackupManager::listFilePath(output(), "plain.txt")).keys(),
              QStringList{"/"});
}

TEST_F(TXXattrBackupManagerTest, ReapplyPutsTheRowsBackDeletesTheListAndASecondReapplyChangesNothing)
{
    makeDatabase();
    writeText(database() + "/M/M/file", "same name");
    mark(database() + "/M/M", {{"user.child", "c"}});
    store();
    const QString restored = root() + "/restored/Backups.backupdb";
    writeText(restored + "/M/S1/file", "one");
    writeText(restored + "/M/M/file", "same name");
    writeText(restored + "/M/Other/file", "no row");
    QFile::copy(TXXattrBackupManager::listFilePath(output(), "M"), TXXattrBackupManager::listFilePath(restored, "M"));

    manager.resetXattributesForTimeMachine(restored);
    EXPECT_EQ(attributesOf(restored + "/M"), (Attributes{{"user.machine", "mac"}, {"user.empty", ""}}));
    EXPECT_EQ(attributesOf(restored + "/M/M"), (Attributes{{"user.child", "c"}}));
    EXPECT_EQ(attributesOf(restored + "/M/S1"), (Attributes{{"user.snapshot", QByteArray("\x00\x01\xff", 3)}}));
    EXPECT_TRUE(attributesOf(restored + "/M/Other").isEmpty());
    EXPECT_FALSE(QFileInfo::exists(TXXattrBackupManager::listFilePath(restored, "M")));

    mark(restored + "/M", {{"user.machine", "changed since"}});
    manager.resetXattributesForTimeMachine(restored);
    EXPECT_EQ(attributesOf(restored + "/M").value("user.machine"), "changed since");
}

TEST_F(TXXattrBackupManagerTest, ALinkAmongTheChildrenIsNeverFollowed)
{
    makeDatabase();
    const QString target = root() + "/target";
    writeText(target, "t");
    mark(target, {{"user.target", "t"}});
    ASSERT_TRUE(QFile::link(target, database() + "/M/link"));
    store();
    const QVariantMap list = PropertyList::readDictionary(TXXattrBackupManager::listFilePath(output(), "M"));
    EXPECT_TRUE(list.value("link").toMap().isEmpty()) << "the link's own attributes, not its target's";

    // A forged row for the link must not reach the target either.
    QVariantMap forged = list;
    forged.insert("link", row({{"user.forged", "x"}}));
    ASSERT_TRUE(PropertyList::write(TXXattrBackupManager::listFilePath(database(), "M"), forged));
    manager.resetXattributesForTimeMachine(database());
    EXPECT_EQ(attributesOf(target), (Attributes{{"user.target", "t"}}));
}

TEST_F(TXXattrBackupManagerTest, AListFromTheDrivePutsBackOnlyUserAttributes)
{
    makeDatabase();
    QVariantMap forged{{"/", row({{"user.kept", "k"},
                                  {"trusted.planted", "t"},
                                  {"security.capability", QByteArray("\x01\x00\x00\x02", 4)}})}};
    ASSERT_TRUE(PropertyList::write(TXXattrBackupManager::listFilePath(database(), "M"), forged));
    manager.resetXattributesForTimeMachine(database());
    const QByteArray path = QFile::encodeName(database() + "/M");
    EXPECT_EQ(::lgetxattr(path.constData(), "user.kept", nullptr, 0), 1);
    // As root (CI) the system namespaces could be written: they must stay untouched.
    for (const char *name : {"trusted.planted", "security.capability"})
        EXPECT_LT(::lgetxattr(path.constData(), name, nullptr, 0), 0) << name;
}

TEST_F(TXXattrBackupManagerTest, TheUploadListNamesOnlyTheListFiles)
{
    makeDatabase();
    store();
    writeText(output() + "/source.txt", "stale line");
    manager.setAccount({root() + "/no-engine", "ann", "pw", "--port=443", "10.0.0.1", true, true, {}});
    manager.backupFile(output(), "/Drive/ann/Studio", database());
    manager.waitForUploads();
    EXPECT_EQ(readText(output() + "/source.txt"), (database() + "/.__M.txxlist").toUtf8());
    EXPECT_EQ(QFileInfo(output() + "/source.txt").permissions() & 0x0077, 0);
}

TEST_F(TXXattrBackupManagerTest, AFailingUploadIsTriedFiveTimesOverAndThenGivenUp)
{
    makeDatabase();
    store();
    ASSERT_TRUE(PropertyList::write(root() + "/scenario.plist", QVariantMap{{"errorText", "Connection refused"}}));
    qputenv("TXRUVO_SCENARIO", (root() + "/scenario.plist").toUtf8());
    qputenv("TXRUVO_ARGV_LOG", (root() + "/argv.log").toUtf8());
    const TXXattrBackupManager::UploadJob job{output() + "/source.txt", volumes() + "/Drive/ann/Studio",
                                              output().chopped(database().size())};
    writeText(job.sourceFile, (database() + "/.__M.txxlist").toUtf8());
    const Backup::Account account{
        QLLocalizedString("ExecuterPathRuvo"), "ann", "pw", "--port=443", "10.0.0.1", true, true, {}};
    const bool uploaded = manager.backupXattributeList(job, account);
    qunsetenv("TXRUVO_SCENARIO");
    qunsetenv("TXRUVO_ARGV_LOG");
    EXPECT_FALSE(uploaded);
    EXPECT_EQ(readText(root() + "/argv.log").count('\n'), TXXattrBackupManager::kUploadAttempts);
}

// The whole road: the database is backed up and its lists uploaded through
// the stand-in engine, restored into another folder without attributes, and
// the attributes come back from the lists beside the database on the drive.
TEST_F(TXXattrBackupManagerTest, BackupAndRestoreThroughTheEngineKeepTheAttributes)
{
    makeDatabase();
    const QString drive = volumes() + "/Drive/TarnixVidezud/ann/Studio";
    QDir().mkpath(drive);
    Backup::Account account{
        QLLocalizedString("ExecuterPathRuvo"), "ann", "pw", "--port=443", "10.0.0.1", true, true, {}};

    // The session's backup of the database's files.
    const QString files = database() + "/M/S1/file\n" + database() + "/M/S2/file";
    writeText(applicationFolder() + "/work/files.txt", files.toUtf8());
    Backup backup(account, applicationFolder() + "/work/error.rtf", "/", drive, false);
    backup.setTimeMachineBackup(true);
    ASSERT_EQ(backup.BackupData(applicationFolder() + "/work/files.txt"), 0);

    // The follow-up: lists saved and uploaded beside the database.
    manager.setAccount(account);
    store();
    manager.backupFile(output(), drive, database());
    manager.waitForUploads();
    ASSERT_TRUE(QFileInfo::exists(drive + database() + "/.__M.txxlist"));

    // A restore of both files into a folder of its own.
    QStringList lines;
    for (const QString snapshot : {"S1", "S2"}) {
        const QString folder = drive + database() + "/M/" + snapshot;
        const QString folderId = QString::fromUtf8(readText(folder + "/.txruvo-folder_.chk"))
                                     .section('\n', 0, 0)  // "folder_id=<id>" comes first
                                     .section('=', 1);
        lines << "/Studio/" + folderId + "/" + QString::fromLatin1(QByteArray("file").toHex());
    }
    writeText(applicationFolder() + "/work/restore.txt", lines.join('\n').toUtf8());
    const QString target = root() + "/restored";
    SessionEngineVectors::Inputs in;
    in.mode = SessionEngineVectors::Mode::Restore;
    in.executable = account.executorPath;
    in.outputFile = applicationFolder() + "/work/out";
    in.errorFile = applicationFolder() + "/work/err";
    in.bandwidthFile = applicationFolder() + "/work/QLThrottle";
    in.proxyArgument = "--proxy=";
    in.portArgument = "--port=443";
    in.encodedKey = "key";
    in.password = "pw";
    in.cancelFile = applicationFolder() + "/work/intCancel";
    in.tempFolder = applicationFolder() + "/work";
    in.listFile = applicationFolder() + "/work/restore.txt";
    in.dataRoot = volumes() + "/Drive/TarnixVidezud/ann";
    in.remoteUser = "ann";
    in.remoteServer = "10.0.0.1";
    in.baseFolder = "/";
    in.backupSourceFolder = target;
    const EngineArguments restore = SessionEngineVectors::build(in);
    ASSERT_EQ(QProcess::execute(restore.arguments.first(), restore.arguments.mid(1)), 0)
        << readText(applicationFolder() + "/work/err").toStdString();
    const QString restored = target + database();
    ASSERT_EQ(readText(restored + "/M/S2/file"), "two");
    EXPECT_TRUE(attributesOf(restored + "/M").isEmpty()) << "the engine copies no attributes";

    manager.resetXattributesForTimeMachine(restored, drive + database());
    EXPECT_EQ(attributesOf(restored + "/M"), (Attributes{{"user.machine", "mac"}, {"user.empty", ""}}));
    EXPECT_EQ(attributesOf(restored + "/M/S1"), (Attributes{{"user.snapshot", QByteArray("\x00\x01\xff", 3)}}));
    EXPECT_TRUE(QFileInfo::exists(drive + database() + "/.__M.txxlist")) << "the drive's list stays";
}

}  // namespace
