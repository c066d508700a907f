#include "IndexFixture.h"

class ReIndexTest : public IndexFixture
{
protected:
    void SetUp() override
    {
        IndexFixture::SetUp();
        ASSERT_TRUE(rebuild.initializeDatabaseAtPath(folder(), kUser + "_reindex", TXDatabaseWrapper::kListingMode));
        ASSERT_TRUE(rebuild.initializeReIndex());
    }

    QString reindexPath() const { return folder() + "/" + kUser + "_reindex.qlenc"; }
    static QVariantMap file(const QString &name, const QString &enc = "enc")
    {
        QVariantMap record{{"FilePath", name},  {"FileModificationTime", "May 6 2014"},
                           {"FileSize", "10"},  {"VersionNumber", "2"},
                           {"folderID", "fid"}, {"mpcName", "/Office"}};
        if (!enc.isNull())
            record.insert("encFilename", enc);
        return record;
    }

    TXDatabaseWrapper rebuild{kShortTimings};
};

TEST_F(ReIndexTest, FoldersGetTheirDepthAndTheClimbStopsAtThePresentAncestor)
{
    rebuild.addFolderToDatabase({{"FilePath", "/"}, {"FileModificationTime", "t0"}, {"FileSize", "1"}});
    rebuild.addFolderToDatabase(
        {{"FilePath", "/Office/Users/ann"}, {"FileModificationTime", "t1"}, {"FileSize", "4096"}});
    rebuild.addFolderToDatabase(
        {{"FilePath", "/Office/Users/ann/sub"}, {"FileModificationTime", "t2"}, {"FileSize", "512"}});
    ASSERT_TRUE(rebuild.concludeReIndex());
    EXPECT_EQ(
        column("SELECT NAME || ' ' || FILE_LMD || ' ' || FILE_SIZE || ' ' || LEVEL_NO FROM qlfolder ORDER BY DIRID",
               reindexPath()),
        QStringList({"'/' 0000 000 1024 0", "'/Office/Users/ann/' t1 4096 3", "'/Office/Users/' 0000 000 1024 2",
                     "'/Office/' 0000 000 1024 1", "'/Office/Users/ann/sub/' t2 512 4"}));
}

TEST_F(ReIndexTest, FilesGoToTheirFolderAndIncompleteOrRepeatedRecordsAreSkipped)
{
    rebuild.addFilesToDatabase({file("top.jpg"), file("no-enc.txt", QString()), file("second.txt")}, "/");
    rebuild.addFolderToDatabase({{"FilePath", "/d_x"}, {"FileModificationTime", "t"}, {"FileSize", "1"}});
    rebuild.addFolderToDatabase({{"FilePath", "/dzx"}, {"FileModificationTime", "t"}, {"FileSize", "1"}});
    rebuild.addFilesToDatabase({file("Same.txt", "first"), file("SAME.TXT", "again")}, "/d_x");
    rebuild.addFilesToDatabase({file("orphan.txt")}, "/missing");
    ASSERT_TRUE(rebuild.concludeReIndex());
    EXPECT_EQ(
        column("SELECT DIRID || ' ' || NAME || ' ' || FILE_OR_FOLDER || ' ' || THUMB || ' ' || ENC_NAME || ' ' || "
               "HASH_VALUE || ' ' || BKSET_NAME FROM qlfile ORDER BY FILEID",
               reindexPath()),
        QStringList({"1 'top.jpg' 2 1 enc 1234566 Default Backupset",
                     "1 'second.txt' 2 0 enc 1234566 Default Backupset",
                     "2 'Same.txt' 2 0 first 1234566 Default Backupset"}));
}

TEST_F(ReIndexTest, NothingReachesTheFileBeforeTheConclusion)
{
    rebuild.addFolderToDatabase({{"FilePath", "/a"}, {"FileModificationTime", "t"}, {"FileSize", "1"}});
    rebuild.addFilesToDatabase({file("x.txt")}, "/a");
    FMDatabase reader(reindexPath());
    ASSERT_TRUE(reader.open());
    auto readRows = [&reader](const QString &sql) {
        QStringList values;
        auto rows = reader.executeQuery(sql);
        while (rows && rows->next())
            values.append(rows->stringForColumnIndex(0));
        return values;
    };
    EXPECT_EQ(readRows("SELECT NAME FROM qlfolder"), QStringList{"'/'"});
    ASSERT_TRUE(rebuild.concludeReIndex());
    EXPECT_EQ(readRows("SELECT NAME FROM qlfolder"), QStringList({"'/'", "'/a/'"}));
    EXPECT_EQ(readRows("SELECT NAME FROM qlfile"), QStringList{"'x.txt'"});
}
