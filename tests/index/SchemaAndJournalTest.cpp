#include "IndexFixture.h"

#include "index/journals/JournalFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>

#include <thread>

class SchemaAndJournalTest : public IndexFixture
{};

TEST_F(SchemaAndJournalTest, NewMainIndexHoldsOnlyTheRootRowAndInitialisingAgainChangesNothing)
{
    for (int round = 0; round < 2; ++round) {
        TXDatabaseWrapper wrapper{kShortTimings};
        ASSERT_TRUE(wrapper.initializeDatabaseAtPath(folder(), kUser, TXDatabaseWrapper::kListingMode));
    }
    EXPECT_EQ(
        column("SELECT DIRID || ' ' || NAME || ' ' || FILE_LMD || ' ' || FILE_SIZE || ' ' || LEVEL_NO FROM qlfolder"),
        QStringList{"1 '/' 0000 000 1024 0"});
    EXPECT_TRUE(column("SELECT NAME FROM qlfile").isEmpty());
    EXPECT_EQ(column("PRAGMA journal_mode"), QStringList{"wal"});
    EXPECT_TRUE(QFile::permissions(folder()).testFlags(QFileDevice::WriteOther | QFileDevice::ExeOther));
}

TEST_F(SchemaAndJournalTest, EncryptPathRaisesEveryUnitButQuoteAndSeparatorsWrappingRound)
{
    const QString scrambled = TXDatabaseWrapper::encryptPath(QString("/a'b\\c") + QChar(0xFFE0));
    const QList<char16_t> expected = {u'/', 160, u'\'', 161, u'\\', 162, 0xFFE0 + 63 - 0x10000};
    ASSERT_EQ(scrambled.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(scrambled.at(i).unicode(), expected.at(i)) << i;
    EXPECT_EQ(TXDatabaseWrapper::encryptPath(""), "");
}

TEST_F(SchemaAndJournalTest, RecordsBecomeThirteenColumnRowsAndWrongSizesWriteNothing)
{
    TXDatabaseWrapper journal{kShortTimings};
    ASSERT_TRUE(journal.initializeDatabaseAtPath(folder(), QString(), TXDatabaseWrapper::kJournalMode));
    QString error;
    EXPECT_TRUE(journal.insertRecord(insertValues({"/Office/a.txt"}), false, 0, &error));
    QVariantList eleven = insertValues({"/Office/b.txt"});
    eleven.removeLast();
    QVariantList fourteen = insertValues({"/Office/c.txt"});
    fourteen.append("extra");
    EXPECT_FALSE(journal.insertRecord(eleven, false, 0, &error));
    EXPECT_FALSE(journal.insertRecord(fourteen, false, 0, &error));
    EXPECT_FALSE(journal.insertValues(eleven, "FILE_TABLE_TEMP", &error));
    EXPECT_TRUE(journal.deleteRecord("/Office/old/", false, 0, &error));
    EXPECT_TRUE(journal.deleteRecord("/Office/gone.txt", true, 0, &error));

    // A second row for one path, in any letter case, breaks the key; the first stays.
    error.clear();
    EXPECT_FALSE(journal.insertRecord(insertValues({"/OFFICE/A.TXT", "INSERT", 999}), false, 0, &error));
    EXPECT_TRUE(error.contains("UNIQUE constraint failed")) << error.toStdString();
    ASSERT_TRUE(journal.commitTransaction());
    journal.unInitializeDatabase();

    const QStringList names = folderEntries();
    ASSERT_EQ(names.size(), 1);
    EXPECT_TRUE(names.first().endsWith(".qlt"));
    const QString path = folder() + "/" + names.first();
    EXPECT_EQ(column("SELECT FILEPATH || '|' || FILE_LMD || '|' || FILE_SIZE || '|' || ENC_METHOD || '|' || ENC_PSWD"
                     " || '|' || FILE_OR_FOLDER || '|' || OPERATION_TYPE || '|' || BKSET_LMD || '|' || SYNC_DATE"
                     " || '|' || VERSION || '|' || FOLDER_ID || '|' || MPC || '|' || ENC_NAME FROM FILE_TABLE_TEMP",
                     path),
              QStringList({"/Office/a.txt|2014-05-06 10:11:12 +0000|100|NA|NA|0|INSERT|NA|NA|1|fid|/Office|enc",
                           "/Office/old/|NA|0|||0|DELETE||||||",
                           TXDatabaseWrapper::encryptPath("/Office/gone.txt") + "|NA|0|||0|DELETE||||||"}));
}

TEST_F(SchemaAndJournalTest, JournalsOpenedAtOnceOnTwoThreadsGetTheirOwnFilesAndBothMerge)
{
    auto writeOne = [this](const QString &path) {
        TXDatabaseWrapper journal{kShortTimings};
        ASSERT_TRUE(journal.initializeDatabaseAtPath(folder(), QString(), TXDatabaseWrapper::kJournalMode));
        EXPECT_TRUE(journal.insertRecord(insertValues({path}), false, TXDatabaseWrapper::kJournalMode));
        EXPECT_TRUE(journal.commitTransaction());
        journal.unInitializeDatabase();
    };
    std::thread first(writeOne, "/a/one.txt");
    std::thread second(writeOne, "/b/two.txt");
    first.join();
    second.join();

    const QStringList names = folderEntries();
    ASSERT_EQ(names.size(), 2);
    // Colon-free names, so that FAT and exFAT drives accept them.
    static const QRegularExpression form(R"(^\d{4}-\d\d-\d\d \d\d\.\d\d\.\d\d \+0000_\d+-\d+\.qlt$)");
    for (const QString &name : names)
        EXPECT_TRUE(form.match(name).hasMatch()) << name.toStdString();

    EXPECT_TRUE(mergeJournals());
    EXPECT_EQ(folderEntries(), QStringList{"ann.qlenc"});
    QStringList files = fileRows();
    files.sort();
    EXPECT_EQ(files, QStringList({"'/a/''one.txt'", "'/b/''two.txt'"}));
}

TEST_F(SchemaAndJournalTest, AJournalThatCannotBeMadeReportsWhyAndLeavesNoFile)
{
    writeText(root() + "/blocked", "a file where the index folder should be");
    TXDatabaseWrapper journal{kShortTimings};
    QString error;
    EXPECT_FALSE(
        journal.initializeDatabaseAtPath(root() + "/blocked/ldb", QString(), TXDatabaseWrapper::kJournalMode, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(journal.insertRecord(insertValues({"/a.txt"}), false, TXDatabaseWrapper::kJournalMode));
    EXPECT_EQ(readText(root() + "/blocked"), "a file where the index folder should be");
}

TEST_F(SchemaAndJournalTest, AJournalWhoseFinishingRenameFailedIsFinishedWithTheNextOne)
{
    TXDatabaseWrapper stuck{kShortTimings};
    ASSERT_TRUE(stuck.initializeDatabaseAtPath(folder(), QString(), TXDatabaseWrapper::kJournalMode));
    ASSERT_TRUE(stuck.insertRecord(insertValues({"/a/stuck.txt"}), false, TXDatabaseWrapper::kJournalMode));
    ASSERT_TRUE(stuck.commitTransaction());
    const QString progressName = folderEntries().value(0);
    ASSERT_TRUE(progressName.endsWith(".qlt.progress"));
    // A folder in the way of the finished name makes the rename fail.
    const QString finishedPath = folder() + "/" + progressName.chopped(QString(".progress").size());
    writeText(finishedPath + "/blocker", "x");
    stuck.unInitializeDatabase();
    EXPECT_EQ(folderEntries(), QStringList{progressName});

    QDir(finishedPath).removeRecursively();
    writeJournal({{"/b/next.txt"}});
    EXPECT_FALSE(folderEntries().join(" ").contains(".progress"));
    EXPECT_TRUE(mergeJournals());
    QStringList files = fileRows();
    files.sort();
    EXPECT_EQ(files, QStringList({"'/a/''stuck.txt'", "'/b/''next.txt'"}));
}

// Names that differ only in the case of ASCII letters share a row: two local
// files "Notes.txt" and "notes.txt" are one entry of the index. Other letters
// are told apart.
TEST_F(SchemaAndJournalTest, NamesDifferingOnlyInAsciiCaseShareOneRow)
{
    addFiles({"/Docs/Notes.txt", "/Docs/Été.txt"});
    addFiles({"/DOCS/notes.TXT", "/docs/éTÉ.txt"});
    EXPECT_EQ(folderRows(), QStringList({"'/'", "'/Docs/'"}));
    EXPECT_EQ(fileRows(), QStringList({"'/Docs/''Notes.txt'", "'/Docs/''Été.txt'", "'/Docs/''éTÉ.txt'"}));
}

TEST_F(SchemaAndJournalTest, JournalNamesCarryTheProcessAndNeverTakeOverAnExistingFile)
{
    TXDatabaseWrapper first{kShortTimings};
    ASSERT_TRUE(first.initializeDatabaseAtPath(folder(), QString(), TXDatabaseWrapper::kJournalMode));
    const QString firstName = folderEntries().value(0);
    const QString pid = QString::number(QCoreApplication::applicationPid());
    EXPECT_TRUE(firstName.endsWith("-" + pid + ".qlt.progress")) << firstName.toStdString();

    // Another writer's files at the names this process would take next, in this
    // second and the next, with their rows uncommitted: none is opened or deleted.
    const qsizetype sequenceStart = firstName.indexOf('_') + 1;
    const int sequence = firstName.mid(sequenceStart, firstName.indexOf('-', sequenceStart) - sequenceStart).toInt();
    QStringList others;
    for (const QString &time : {firstName.left(sequenceStart - 1),
                                QDateTime::currentDateTimeUtc().addSecs(1).toString("yyyy-MM-dd HH.mm.ss +0000")}) {
        for (int next = sequence + 1; next <= sequence + 3; ++next) {
            others.append(QString("%1_%2-%3.qlt.progress").arg(time).arg(next).arg(pid));
            writeText(folder() + "/" + others.last(), "another writer's journal");
        }
    }
    TXDatabaseWrapper second{kShortTimings};
    ASSERT_TRUE(second.initializeDatabaseAtPath(folder(), QString(), TXDatabaseWrapper::kJournalMode));
    ASSERT_TRUE(second.insertRecord(insertValues({"/a/second.txt"}), false, TXDatabaseWrapper::kJournalMode));
    ASSERT_TRUE(second.commitTransaction());
    for (const QString &other : others)
        EXPECT_EQ(readText(folder() + "/" + other), "another writer's journal") << other.toStdString();
    EXPECT_EQ(folderEntries().filter(QRegularExpression("\\.progress$")).size(), others.size() + 2);
    second.unInitializeDatabase();
    first.unInitializeDatabase();
}

TEST_F(SchemaAndJournalTest, JournalsLeftUnfinishedByAnEndedWriterAreFinishedAndMerged)
{
    writeJournal({{"/a/abandoned.txt"}});
    const QString finished = folderEntries().value(0);
    // Written by a process that no longer runs (no process has that id), and one
    // still being written by this running process.
    const QString abandoned = QString(finished).replace(QRegularExpression("-\\d+\\.qlt$"), "-2147483000.qlt.progress");
    ASSERT_TRUE(QFile::rename(folder() + "/" + finished, folder() + "/" + abandoned));
    TXDatabaseWrapper running{kShortTimings};
    ASSERT_TRUE(running.initializeDatabaseAtPath(folder(), QString(), TXDatabaseWrapper::kJournalMode));

    JournalFiles::finishAbandoned(folder());
    EXPECT_FALSE(folderEntries().contains(abandoned));
    EXPECT_EQ(folderEntries().filter(QRegularExpression("\\.progress$")).size(), 1);
    EXPECT_TRUE(mergeJournals());
    EXPECT_EQ(fileRows(), QStringList{"'/a/''abandoned.txt'"});
    running.unInitializeDatabase();
}
