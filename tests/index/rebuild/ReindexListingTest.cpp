#include "index/rebuild/ReindexListing.h"

#include "common/transfer/FileTransferData.h"

#include <gtest/gtest.h>

namespace {

FileTransferData listed(const QString &fname, const QString &mpc)
{
    FileTransferData line;
    for (const auto &[key, value] : {std::pair<QString, QString>{"size", "12"},
                                     {"mod_time", "2014-05-06 10:11:12 +0000"},
                                     {"file_ver", "2"},
                                     {"folder_id", "9f2c"},
                                     {"enc_name", "612e747874"}})
        line.Data(value, key);
    if (!fname.isNull())
        line.Data(fname, "fname");
    if (!mpc.isNull())
        line.Data(mpc, "mpc");
    return line;
}

TEST(ReindexListingTest, GroupsAFileUnderItsComputerFolderAsTheClientsBackupsDoAndItsFolderInSyncMode)
{
    struct Case
    {
        QString fname;
        QString mpc;
        bool backupMode;
        QString ownComputerFolder;
        QString folder;
    };
    const Case cases[] = {
        {"/Users/ann/a.txt", "/Office", true, "/Office", "/Office/Users/ann"},
        {"/Users/ann/a.txt", "Office", true, "/Office", "/Office/Users/ann"},
        {"/a.txt", "/Office", true, "/Office", "/Office"},
        {"Users/a.txt", "/Office", true, "/Office", "/Office/Users"},
        // Another computer's folder on the drive keeps its own name.
        {"/Users/bob/b.txt", "/Studio", true, "/Office", "/Studio/Users/bob"},
        // A client without a computer folder backs up without one: so is its index rebuilt.
        {"/Users/ann/a.txt", "/vm", true, "", "/Users/ann"},
        {"/Users/ann/a.txt", "/vm", true, "/", "/Users/ann"},
        {"/Docs/a.txt", "/ann", false, "/Office", "/Docs"},
        {"/a.txt", "/ann", false, "", "/"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.fname.toStdString());
        EXPECT_EQ(ReindexListing::folderKey(listed(c.fname, c.mpc), c.backupMode, c.ownComputerFolder), c.folder);
    }
}

TEST(ReindexListingTest, AFileRecordNeedsEveryValueTheIndexKeeps)
{
    const std::optional<IndexRows::FileValues> record =
        ReindexListing::fileRecord(listed("/Users/ann/a.txt", "/Office"));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->name, "a.txt");
    EXPECT_EQ((QVariantList{record->modificationDate, record->size, record->version, record->folderID, record->mpcName,
                            record->encFilename}),
              (QVariantList{"2014-05-06 10:11:12 +0000", "12", "2", "9f2c", "/Office", "612e747874"}));
    // Without a computer folder the file could be neither placed nor restored.
    EXPECT_FALSE(ReindexListing::fileRecord(listed("/Users/ann/a.txt", QString())));
    EXPECT_FALSE(ReindexListing::fileRecord(listed(QString(), "/Office")));
}

}  // namespace
