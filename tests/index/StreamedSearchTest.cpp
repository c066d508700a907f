#include "IndexFixture.h"

namespace {

// Takes a key search's rows as they are read; refuses the batch after `batchesToTake`.
class BatchReceiver : public TXDatabaseWrapperDelegate
{
public:
    bool takesRowsAsTheyCome() const override { return true; }
    bool queryDidReadRows(const IndexEntries &rows) override
    {
        events << QStringLiteral("batch %1").arg(rows.size());
        if (events.size() > batchesToTake)
            return false;
        take(rows);
        return true;
    }
    void queryFinishedWithEntries(const IndexEntries &entries) override
    {
        events << QStringLiteral("finish %1").arg(entries.size());
        take(entries);
    }
    void queryFailedWithError(const QString &error) override { events << "fail " + error; }

    qsizetype batchesToTake = 1000;
    QStringList events;
    QStringList fileNames;  // in the order received

private:
    void take(const IndexEntries &rows)
    {
        for (const IndexEntry &row : rows)
            fileNames << row.fileName;
    }
};

class StreamedSearchTest : public IndexFixture
{
protected:
    void SetUp() override
    {
        IndexFixture::SetUp();
        // 620 files whose names hold the key, in folders whose paths do not,
        // between files that match neither way.
        QStringList paths;
        for (int file = 0; file < 620; ++file) {
            paths << QStringLiteral("/Office/d%1/hit%2.txt").arg(file % 7).arg(file)
                  << QStringLiteral("/Office/d%1/other%2.txt").arg(file % 5).arg(file);
        }
        addFiles(paths);
    }

    void search(TXDatabaseWrapperDelegate &receiver)
    {
        TXDatabaseWrapper reader{kShortTimings};
        reader.setDelegate(&receiver);
        ASSERT_TRUE(reader.initializeDatabaseAtPath(folder(), kUser, TXDatabaseWrapper::kListingMode));
        reader.searchForKeyInsidePath({{"SearchKey", "HIT"}, {"PathRootForSearch", "/Office"}});
    }
};

TEST_F(StreamedSearchTest, RowsComeInGrowingBatchesEachOnceInTheOrderOfTheWholeList)
{
    RecordingDelegate whole;
    search(whole);
    ASSERT_EQ(whole.entries().size(), 620);

    BatchReceiver streamed;
    search(streamed);
    // The end brings the rest, never nothing after the batches.
    EXPECT_EQ(streamed.events, QStringList({"batch 100", "batch 400", "finish 120"}));
    EXPECT_EQ(streamed.fileNames, whole.names());
}

TEST_F(StreamedSearchTest, ARefusedBatchStopsTheSearchWithNothingMoreReported)
{
    BatchReceiver stopping;
    stopping.batchesToTake = 1;
    search(stopping);
    EXPECT_EQ(stopping.events, QStringList({"batch 100", "batch 400"}));
    EXPECT_EQ(stopping.fileNames.size(), 100);

    // The stopped search let its connection go: the next reader sees it all.
    BatchReceiver next;
    search(next);
    EXPECT_EQ(next.fileNames.size(), 620);
}

TEST_F(StreamedSearchTest, ASmallResultComesWholeAtTheEnd)
{
    for (const auto &[key, rows] :
         std::initializer_list<std::pair<QString, qsizetype>>{{"hit7.txt", 1}, {"ghost", 0}}) {
        BatchReceiver receiver;
        TXDatabaseWrapper reader{kShortTimings};
        reader.setDelegate(&receiver);
        ASSERT_TRUE(reader.initializeDatabaseAtPath(folder(), kUser, TXDatabaseWrapper::kListingMode));
        reader.searchForKeyInsidePath({{"SearchKey", key}, {"PathRootForSearch", ""}});
        EXPECT_EQ(receiver.events, QStringList{QStringLiteral("finish %1").arg(rows)}) << key.toStdString();
    }
}

TEST_F(StreamedSearchTest, ALargeIndexReadInNameRangesGivesEveryMatchingFileOnce)
{
    // 200 folders of the same 1,000 names: enough rows for the search to be
    // split into ranges, whose bounds then fall on names many folders share.
    constexpr int kFolders = 200;
    constexpr int kNames = 1000;
    {
        FMDatabase db(mainIndexPath());
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(db.beginTransaction());
        for (int folder = 0; folder < kFolders; ++folder) {
            const QString path = QStringLiteral("/Office/f%1").arg(folder);
            ASSERT_TRUE(IndexRows::insertMissingFolders(db, path, true, [] {}));
            const std::optional<qint64> key = IndexRows::folderKey(db, path);
            ASSERT_TRUE(key);
            for (int name = 0; name < kNames; ++name) {
                ASSERT_TRUE(IndexRows::insertFile(db, *key,
                                                  {QStringLiteral("n%1.txt").arg(name), "2014-05-06 10:11:12 +0000",
                                                   100, 1, "fid", "/Office", "enc"}));
            }
        }
        ASSERT_TRUE(db.commit());
    }
    // A file matches by its name or by its folder's path below the root.
    QStringList expected;
    for (int file = 0; file < 620; ++file) {
        if (QString::number(file).contains('7')) {
            expected << QStringLiteral("/Office/d%1/hit%2.txt").arg(file % 7).arg(file)
                     << QStringLiteral("/Office/d%1/other%2.txt").arg(file % 5).arg(file);
        }
    }
    for (int folder = 0; folder < kFolders; ++folder) {
        for (int name = 0; name < kNames; ++name) {
            if (QString::number(name).contains('7') || QString::number(folder).contains('7'))
                expected << QStringLiteral("/Office/f%1/n%2.txt").arg(folder).arg(name);
        }
    }
    expected.sort();

    for (const bool streamed : {true, false}) {
        BatchReceiver batches;
        RecordingDelegate whole;
        TXDatabaseWrapperDelegate &receiver = streamed ? static_cast<TXDatabaseWrapperDelegate &>(batches) : whole;
        TXDatabaseWrapper reader{kShortTimings};
        reader.setDelegate(&receiver);
        ASSERT_TRUE(reader.initializeDatabaseAtPath(folder(), kUser, TXDatabaseWrapper::kListingMode));
        reader.searchForKeyInsidePath({{"SearchKey", "7"}, {"PathRootForSearch", "/Office"}});
        QStringList found = streamed ? batches.fileNames : whole.names();
        found.sort();
        EXPECT_EQ(found, expected) << (streamed ? "streamed" : "one list");
    }
}

}  // namespace
