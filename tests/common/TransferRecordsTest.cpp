#include "common/transfer/FileSystemNode.h"
#include "common/transfer/FileTransferData.h"
#include "common/transfer/FileTransferRateData.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

QStringList allFields(const FileTransferData &record)
{
    return {record.offset(),   record.size(),     record.tottrf_sz(),   record.tot_sz(),    record.cum_size(),
            record.per(),      record.rate_trf(), record.remain_time(), record.trf_type(),  record.fname(),
            record.file_ver(), record.mpc(),      record.enc_name(),    record.folder_id(), record.mod_time()};
}

TEST(TransferRecordsTest, EveryFieldIsFilledByItsOwnName)
{
    const QStringList keys = {"offset",   "size",     "tottrf_sz",   "tot_sz",    "cum_size",
                              "per",      "rate_trf", "remain_time", "trf_type",  "fname",
                              "file_ver", "mpc",      "enc_name",    "folder_id", "mod_time"};
    FileTransferData record;
    for (const QString &key : keys)
        record.Data("value of " + key, key);

    QStringList expected;
    for (const QString &key : keys)
        expected << "value of " + key;
    EXPECT_EQ(allFields(record), expected);
}

TEST(TransferRecordsTest, ClearingThenALineLeavesOnlyItsFields)
{
    FileTransferData record;
    record.Data("/old", "fname");
    record.Data("FULL", "trf_type");

    // What the parser does for <item fname="/a" per="50" offset="10" colour="red"/>.
    record.ClearData();
    record.Data("/a", "fname");
    record.Data("50", "per");
    record.Data("10", "offset");
    record.Data("red", "colour");

    EXPECT_EQ(record.fname(), "/a");
    EXPECT_EQ(record.per(), "50");
    EXPECT_EQ(record.offset(), "10");
    EXPECT_TRUE(record.trf_type().isNull());
    int nullFields = 0;
    for (const QString &field : allFields(record))
        nullFields += field.isNull() ? 1 : 0;
    EXPECT_EQ(nullFields, 12);
}

TEST(TransferRecordsTest, DescriptionNamesTheFileOnTheDrive)
{
    FileTransferData record;
    record.setMod_time("2026/01/02 03:04:05");
    record.setEnc_name("x1");
    record.setMpc("Office");
    record.setFolder_id("7");
    EXPECT_EQ(record.description(), "mModTime 2026/01/02 03:04:05 \nmEncFile x1 \nmMPCName Office \nmFolderID 7");
}

TEST(TransferRecordsTest, RateRecordTakesOnlyTypeAndRate)
{
    FileTransferRateData record;
    record.Data("up", "trf_type");
    record.Data("12.5", "trf_rate");
    record.Data("100", "quota_used");
    record.Data("3", "files_count");
    EXPECT_EQ(record.FileTransferType(), "up");
    EXPECT_EQ(record.FileTransferRate(), "12.5");

    record.ClearData();
    EXPECT_TRUE(record.FileTransferType().isNull());
    EXPECT_TRUE(record.FileTransferRate().isNull());
}

}  // namespace

TEST(TransferRecordsTest, SearchRowsSortByParentFolderThenFilesBeforeFolders)
{
    const auto row = [](const QString &path) { return FileSystemNode(path, "1 B", "", !path.endsWith('/'), "1"); };
    const struct
    {
        QString left, right;
        int parentOrder;  // sign of compareParentFolderPath
    } cases[] = {
        {"/Docs/b.txt", "/Docs/a.txt", 0},  // one folder: equal, whatever the names
        {"/Docs/Sub/", "/Docs/z.txt", 0},   // a folder row's parent is the folder above it
        {"/Docs/a.txt", "/Photos/a.txt", -1}, {"/docs/a.txt", "/Docs/a.txt", 1},  // case-sensitive
        {"/a.txt", "/Docs/a.txt", -1},                                            // "/" before "/Docs"
    };
    for (const auto &c : cases) {
        const int order = row(c.left).compareParentFolderPath(row(c.right));
        EXPECT_EQ((order > 0) - (order < 0), c.parentOrder) << c.left.toStdString() << " " << c.right.toStdString();
    }
    EXPECT_LT(row("/Docs/z.txt").compare(row("/Docs/A/")), 0);
    EXPECT_GT(row("/Docs/A/").compare(row("/Docs/z.txt")), 0);
    EXPECT_EQ(row("/Docs/z.txt").compare(row("/Docs/a.txt")), 0);

    FileSystemNode stored = row("/Docs/a.txt");
    stored.setFolderID("17");
    stored.setEncFileName("QmFy");
    EXPECT_EQ(stored.name, "a.txt");
    EXPECT_EQ(stored.folderID, "17");
    EXPECT_EQ(stored.encFileName, "QmFy");
    EXPECT_FALSE(row("/Docs/Sub/").isAFile);
    EXPECT_EQ(row("/Docs/Sub/").name, "Sub");
    EXPECT_EQ(row("plain.txt").name, "plain.txt");
    EXPECT_EQ(row("/").name, "");
}
