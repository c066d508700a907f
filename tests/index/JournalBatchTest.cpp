#include "IndexFixture.h"

#include "index/journals/JournalBatch.h"

class JournalBatchTest : public IndexFixture
{};

TEST_F(JournalBatchTest, RowsGoInInTheJournalKeysOrderAndARowThatFailsIsReportedAlone)
{
    TXDatabaseWrapper journal{kShortTimings};
    ASSERT_TRUE(journal.initializeDatabaseAtPath(folder(), QString(), TXDatabaseWrapper::kJournalMode));
    const auto record = [](const QString &path) -> QVariantList {
        return {path, "2014-05-06 10:11:12 +0000", 1, "NA", "NA", false, "NA", "NA", 1, "fid", "/Office", "enc"};
    };
    QStringList failures;
    JournalBatch::write(
        journal,
        {record("/b/Z.txt"), record("/é.txt"), {"/A/x/"}, record("/a/y.txt"), record("/B/z.TXT"), record("/a/_.txt")},
        [&failures](const QString &error) { failures << error; });
    ASSERT_TRUE(journal.commitTransaction());
    journal.unInitializeDatabase();

    // "/b/Z.txt" and "/B/z.TXT" are one key: the later is refused.
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures.first().contains("UNIQUE")) << failures.first().toStdString();
    // Letters folded to lower case, as the key compares: "_" before "x".
    EXPECT_EQ(column("SELECT FILEPATH || ' ' || OPERATION_TYPE FROM FILE_TABLE_TEMP ORDER BY rowid",
                     folder() + "/" + folderEntries().value(0)),
              QStringList({"/a/_.txt INSERT", "/A/x/ DELETE", "/a/y.txt INSERT", "/b/Z.txt INSERT", "/é.txt INSERT"}));
}
