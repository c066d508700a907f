#include "IndexFixture.h"

#include "index/IndexSchema.h"
#include "index/journals/FinishedJournals.h"

#include <QFile>

class MergeTest : public IndexFixture
{
protected:
    // The version numbers of the files, in row order.
    QStringList versions() const
    {
        return column("SELECT FILEID || ' ' || NAME || ' ' || FILE_OR_FOLDER FROM qlfile ORDER BY FILEID");
    }
};

TEST_F(MergeTest, PausesAfterEveryFiftyStatementsCountingFolderAttemptsAndRows)
{
    struct Case
    {
        int files;
        int pauses;
    };
    // One failed insert of the present folder, then one statement per row.
    for (const Case &c : {Case{120, 2}, Case{99, 2}, Case{98, 1}}) {
        SCOPED_TRACE(c.files);
        QDir(folder()).removeRecursively();
        addFiles({"/Office/present.txt"});
        QList<JournalRow> rows;
        for (int i = 0; i < c.files; ++i)
            rows.append({QString("/Office/f%1.txt").arg(i)});
        writeJournal(rows);
        int pauses = 0;
        ASSERT_TRUE(mergeJournals([&pauses](std::chrono::milliseconds) { ++pauses; }));
        EXPECT_EQ(pauses, c.pauses);
        EXPECT_EQ(fileRows().size(), c.files + 1);
    }
}

TEST_F(MergeTest, NewFoldersAreMadeUpToTheFirstPresentOne)
{
    addFiles({"/Office/Users/ann/a.txt"});
    addFiles({"/Office/Users/ann/new/deep/b.txt", "/top.txt"});
    EXPECT_EQ(folderRows(), QStringList({"'/'", "'/Office/Users/ann/'", "'/Office/Users/'", "'/Office/'",
                                         "'/Office/Users/ann/new/deep/'", "'/Office/Users/ann/new/'"}));
    EXPECT_EQ(fileRows(),
              QStringList({"'/Office/Users/ann/''a.txt'", "'/Office/Users/ann/new/deep/''b.txt'", "'/''top.txt'"}));
    EXPECT_EQ(column("SELECT DISTINCT FILE_LMD || ' ' || FILE_SIZE || ' ' || LEVEL_NO FROM qlfolder"),
              QStringList{"0000 000 1024 0"});
}

TEST_F(MergeTest, ABackedUpFileAgainUpdatesItsRowAndOnlyVersionOtherThanOneChangesTheVersion)
{
    struct Case
    {
        int newVersion;
        QString expectedVersion;
    };
    for (const Case &c : {Case{1, "2"}, Case{3, "3"}}) {
        SCOPED_TRACE(c.newVersion);
        QDir(folder()).removeRecursively();
        writeJournal({{"/Docs/Report.doc", "INSERT", 100, 2, "first"}});
        ASSERT_TRUE(mergeJournals());
        writeJournal({{"/DOCS/report.DOC", "INSERT", 250, c.newVersion, "second"}});
        ASSERT_TRUE(mergeJournals());
        EXPECT_EQ(column("SELECT FILEID || ' ' || NAME || ' ' || FILE_SIZE || ' ' || FILE_OR_FOLDER || ' ' || ENC_NAME "
                         "FROM qlfile"),
                  QStringList{"1 'Report.doc' 250 " + c.expectedVersion + " second"});
    }
}

TEST_F(MergeTest, DeletionsRemoveExactlyTheNamedItem)
{
    struct Case
    {
        QString deleted;
        QStringList remaining;
        QStringList goneFolders;
    };
    const QStringList indexed = {"/Office/old/a.txt",  "/Office/old/sub/b.txt",
                                 "/Office/old2/c.txt", "/Office/a_c.txt",
                                 "/Office/abc.txt",    "/x_y/d.txt",
                                 "/xzy/e.txt",         "/a.txt"};
    const QList<Case> cases = {
        {"/Office/old/",
         {"'/Office/old2/''c.txt'", "'/Office/''a_c.txt'", "'/Office/''abc.txt'", "'/x_y/''d.txt'", "'/xzy/''e.txt'",
          "'/''a.txt'"},
         {"'/Office/old/'", "'/Office/old/sub/'"}},
        {"/Office/a_c.txt",
         {"'/Office/old/''a.txt'", "'/Office/old/sub/''b.txt'", "'/Office/old2/''c.txt'", "'/Office/''abc.txt'",
          "'/x_y/''d.txt'", "'/xzy/''e.txt'", "'/''a.txt'"},
         {}},
        {"/x_y/",
         {"'/Office/old/''a.txt'", "'/Office/old/sub/''b.txt'", "'/Office/old2/''c.txt'", "'/Office/''a_c.txt'",
          "'/Office/''abc.txt'", "'/xzy/''e.txt'", "'/''a.txt'"},
         {"'/x_y/'"}},
        {"/a.txt",
         {"'/Office/old/''a.txt'", "'/Office/old/sub/''b.txt'", "'/Office/old2/''c.txt'", "'/Office/''a_c.txt'",
          "'/Office/''abc.txt'", "'/x_y/''d.txt'", "'/xzy/''e.txt'"},
         {}},
        {"/", {}, {"'/Office/'", "'/Office/old/'", "'/Office/old/sub/'", "'/Office/old2/'", "'/x_y/'", "'/xzy/'"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.deleted.toStdString());
        QDir(folder()).removeRecursively();
        addFiles(indexed);
        writeJournal({{c.deleted, "DELETE"}});
        ASSERT_TRUE(mergeJournals());
        QStringList files = fileRows();
        files.sort();
        QStringList expected = c.remaining;
        expected.sort();
        EXPECT_EQ(files, expected);
        const QStringList folders = folderRows();
        EXPECT_EQ(folders.size(), 7 - c.goneFolders.size()) << folders.join(" ").toStdString();
        for (const QString &gone : c.goneFolders)
            EXPECT_FALSE(folders.contains(gone)) << gone.toStdString();
        EXPECT_TRUE(folders.contains("'/'"));
    }
}

TEST_F(MergeTest, ManyFolderDeletionsInOneJournalRemoveExactlyTheirSubtrees)
{
    // More deleted folders than one statement takes, between a file deletion
    // and a folder whose name only begins like a deleted one's.
    QStringList indexed{"/many/d1/f.txt", "/many/d10x/f.txt"};
    QList<JournalRow> deletions{{"/many/d1/f.txt", "DELETE"}};
    QStringList expectedFiles{"'/many/d10x/''f.txt'"};
    for (int folder = 2; folder < 300; ++folder) {
        indexed << QStringLiteral("/many/d%1/f.txt").arg(folder) << QStringLiteral("/many/d%1/sub/g.txt").arg(folder);
        if (folder % 3 == 0) {
            expectedFiles << QStringLiteral("'/many/d%1/''f.txt'").arg(folder)
                          << QStringLiteral("'/many/d%1/sub/''g.txt'").arg(folder);
        } else {
            deletions.append({QStringLiteral("/many/d%1/").arg(folder), "DELETE"});
        }
    }
    addFiles(indexed);
    writeJournal(deletions);
    ASSERT_TRUE(mergeJournals());
    QStringList files = fileRows();
    files.sort();
    expectedFiles.sort();
    EXPECT_EQ(files, expectedFiles);
    // The root, /many/, d1, d10x and the kept folders with their sub folders.
    EXPECT_EQ(folderRows().size(), 4 + 2 * 99);
    EXPECT_TRUE(folderRows().contains("'/many/d1/'"));
    EXPECT_FALSE(folderRows().contains("'/many/d10/sub/'"));
}

TEST_F(MergeTest, AFileInAFolderWithWildcardsInItsNameGoesToThatFolder)
{
    addFiles({"/xzy/first.txt", "/x%y/second.txt"});
    addFiles({"/x_y/third.txt"});
    EXPECT_EQ(fileRows(), QStringList({"'/x%y/''second.txt'", "'/xzy/''first.txt'", "'/x_y/''third.txt'"}));
}

TEST_F(MergeTest, JournalsApplyInTheOrderWritten)
{
    addFiles({"/d/a.txt", "/d/b.txt"});
    // Within one second: the sequence number orders them.
    writeJournal({{"/d/a.txt", "DELETE"}});
    writeJournal({{"/d/a.txt"}});
    writeJournal({{"/d/b.txt"}});
    writeJournal({{"/d/b.txt", "DELETE"}});
    ASSERT_TRUE(mergeJournals());
    EXPECT_EQ(fileRows(), QStringList{"'/d/''a.txt'"});
}

TEST_F(MergeTest, JournalNamesOrderByTimeThenSequenceNumber)
{
    const QStringList written = {"2026-03-01 09.00.00 +0000_9.qlt", "2026-03-01 09.00.00 +0000_10.qlt",
                                 "2026-03-01 09.00.01 +0000_2.qlt"};
    for (const QString &name : written)
        writeText(folder() + "/" + name, "");
    EXPECT_EQ(FinishedJournals::namesOldestFirst(folder()), written);
}

TEST_F(MergeTest, RenameAndUpdateRowsChangeNothingButTheJournalIsMergedAndRemoved)
{
    addFiles({"/d/a.txt"});
    writeJournal({{"/d/b.txt", "RENAME"}, {"/d/a.txt", "UPDATE", 999}});
    ASSERT_TRUE(mergeJournals());
    EXPECT_EQ(column("SELECT NAME || ' ' || FILE_SIZE FROM qlfile"), QStringList{"'a.txt' 100"});
    EXPECT_EQ(folderEntries(), QStringList{"ann.qlenc"});
}

TEST_F(MergeTest, TheFirstMergeOnAFreshDriveMakesTheMainIndex)
{
    writeJournal({{"/d/a.txt"}});
    ASSERT_FALSE(QFile::exists(mainIndexPath()));
    ASSERT_TRUE(mergeJournals());
    EXPECT_EQ(folderRows(), QStringList({"'/'", "'/d/'"}));
    EXPECT_EQ(fileRows(), QStringList{"'/d/''a.txt'"});
}

TEST_F(MergeTest, AMergeThatFailsKeepsItsJournalForTheNextMerge)
{
    addFiles({"/d/a.txt"});
    writeJournal({{"/d/b.txt"}, {"/d/a.txt", "DELETE"}});
    {
        // Another connection holds the main index past the busy wait.
        FMDatabase holder(mainIndexPath());
        ASSERT_TRUE(holder.open());
        ASSERT_TRUE(holder.beginTransaction());
        EXPECT_FALSE(mergeJournals());
        ASSERT_TRUE(holder.rollback());
    }
    EXPECT_EQ(fileRows(), QStringList{"'/d/''a.txt'"});
    ASSERT_EQ(folderEntries().size(), 2);
    EXPECT_TRUE(mergeJournals());
    EXPECT_EQ(fileRows(), QStringList{"'/d/''b.txt'"});
    EXPECT_EQ(folderEntries(), QStringList{"ann.qlenc"});
}

TEST_F(MergeTest, AMainIndexThatIsNotADatabaseIsLeftAloneAndTheJournalKept)
{
    writeText(mainIndexPath(), QByteArray(4096, 'x'));
    writeJournal({{"/d/a.txt"}});
    EXPECT_FALSE(mergeJournals());
    EXPECT_EQ(readText(mainIndexPath()), QByteArray(4096, 'x'));
    EXPECT_EQ(folderEntries().size(), 2);
}

TEST_F(MergeTest, AnIndexWrittenInRollbackModeIsSwitchedToWriteAheadLoggingSoReadersNeverWaitForAMerge)
{
    // Made as the format's steps describe: the switch to write-ahead logging
    // comes inside the transaction, where the library ignores it.
    ASSERT_TRUE(QDir().mkpath(folder()));
    {
        FMDatabase made(mainIndexPath());
        bool created = false;
        ASSERT_TRUE(made.open() && made.beginTransaction() && IndexSchema::createMainIndexIfMissing(made, &created));
        made.setWal();
        ASSERT_TRUE(made.commit());
    }
    ASSERT_EQ(column("PRAGMA journal_mode"), QStringList{"delete"});

    QList<JournalRow> rows;
    for (int i = 0; i < 60; ++i)
        rows.append({QString("/d/f%1.txt").arg(i)});
    writeJournal(rows);
    // At the merge's pause its transaction is open: a reader must get the index as it was.
    QStringList readDuringMerge;
    QString readerError;
    ASSERT_TRUE(mergeJournals([&](std::chrono::milliseconds) {
        FMDatabase reader(mainIndexPath(), kShortTimings.database);
        ASSERT_TRUE(reader.open());
        auto rowsRead = reader.executeQuery("SELECT COUNT(*) FROM qlfile");
        if (rowsRead && rowsRead->next())
            readDuringMerge.append(rowsRead->stringForColumnIndex(0));
        else
            readerError = reader.lastErrorMessage();
    }));
    EXPECT_EQ(readerError, "");
    EXPECT_EQ(readDuringMerge, QStringList{"0"});
    EXPECT_EQ(column("PRAGMA journal_mode"), QStringList{"wal"});
    EXPECT_EQ(fileRows().size(), 60);
}

TEST_F(MergeTest, ThumbnailFlagFollowsTheTextAfterTheLastDotInAnyLetterCase)
{
    struct Case
    {
        QString name;
        int thumb;
    };
    // In order: a remembered extension must not answer for a name without one.
    const QList<Case> cases = {{"a.png", 1},     {"png", 0},    {"b.PNG", 1}, {".jpeg", 1},
                               {"c.png.txt", 0}, {"d.", 0},     {"e.jp2", 1}, {"f.tiff", 1},
                               {"g.tifff", 0},   {"h.jpg ", 0}, {"i.GIF", 1}, {"j.pngx", 0}};
    QList<JournalRow> rows;
    QStringList expected;
    for (const Case &c : cases) {
        // One folder per file keeps the journal's path order the order above.
        rows.append({QString("/d%1/%2").arg(rows.size(), 2, 10, QChar('0')).arg(c.name)});
        expected.append(QString("'%1' %2").arg(c.name).arg(c.thumb));
    }
    writeJournal(rows);
    ASSERT_TRUE(mergeJournals());
    EXPECT_EQ(column("SELECT NAME || ' ' || THUMB FROM qlfile ORDER BY FILEID"), expected);
}

TEST_F(MergeTest, AMergeThatFailsAfterSettingTheNameIndexAsideLeavesTheIndexAsItWas)
{
    addFiles({"/keep/a.txt", "/old/b.txt"});
    {
        FMDatabase db(mainIndexPath());
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(db.executeUpdate(
            "CREATE TRIGGER refuse BEFORE DELETE ON qlfolder BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    }
    const QStringList schema = column("SELECT name || ' ' || coalesce(sql, '') FROM sqlite_master ORDER BY name");
    // More rows than the index holds files, then a deletion that fails.
    writeJournal({{"/new/c.txt"}, {"/new/d.txt"}, {"/new/e.txt"}, {"/old/", "DELETE"}});
    EXPECT_FALSE(mergeJournals());
    EXPECT_EQ(column("SELECT name || ' ' || coalesce(sql, '') FROM sqlite_master ORDER BY name"), schema);
    EXPECT_EQ(fileRows(), QStringList({"'/keep/''a.txt'", "'/old/''b.txt'"}));
    EXPECT_EQ(column("PRAGMA integrity_check"), QStringList{"ok"});
    EXPECT_EQ(folderEntries().size(), 2);
}
