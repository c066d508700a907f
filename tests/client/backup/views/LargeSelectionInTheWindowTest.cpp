#include "LoggedInClientFixture.h"

#include "client/backup/setlist/BackupsetViewController.h"
#include "common/backupset/BackupSetFiles.h"
#include "platform/PropertyList.h"

// A large selection in the window: the set file and the size file are written away from the
// main thread, the newest state once, so that clicks in a row end with the set file holding
// the last one, a quit right after a click loses nothing, and a folder of many files with one
// of them unchecked is stored as exactly the others.
class LargeSelectionInTheWindowTest : public LoggedInClientFixture
{
protected:
    static constexpr int kFiles = 300;

    void SetUp() override
    {
        LoggedInClientFixture::SetUp();
        QDir().mkpath(folder());
        for (int i = 0; i < kFiles; ++i)
            writeText(QStringLiteral("%1/file%2.txt").arg(folder()).arg(i, 3, 10, QLatin1Char('0')), "x");
    }

    QString folder() const { return volumes() + "/DataDrive/Many"; }
    QString fileName(int i) const { return QStringLiteral("file%1.txt").arg(i, 3, 10, QLatin1Char('0')); }

    static QString setFile() { return BackupSetFiles("demo", true).pathForDataFile(); }
    static QStringList setOnDisk() { return BackupSetFiles::readList(setFile()).value_or(QStringList()); }
    static QVariantMap sizesOnDisk()
    {
        return PropertyList::readDictionary(BackupSetFiles("demo", true).sizeFilePath());
    }

    QModelIndex row(const QStringList &names)
    {
        QAbstractItemModel &model = *client->treeView->model();
        QModelIndex index = childNamed(model, {}, "DataDrive");
        for (const QString &name : names)
            index = childNamed(model, index, name);
        return index;
    }

    void click(const QModelIndex &index, Qt::CheckState state)
    {
        ASSERT_TRUE(index.isValid());
        ASSERT_TRUE(client->treeView->model()->setData(index, state, Qt::CheckStateRole));
    }

    QStringList filesExcept(int left) const
    {
        QStringList paths;
        for (int i = 0; i < kFiles; ++i)
            if (i != left)
                paths.append(folder() + "/" + fileName(i));
        return paths;
    }
};

TEST_F(LargeSelectionInTheWindowTest, ClicksInARowEndWithTheSetFileAndTheListHoldingTheLastState)
{
    openLoggedIn();
    const QModelIndex many = row({"Many"});
    click(many, Qt::Checked);
    click(many, Qt::Unchecked);
    click(many, Qt::Checked);
    click(row({"Many", fileName(7)}), Qt::Unchecked);
    click(row({"Many", fileName(7)}), Qt::Checked);
    click(row({"Many", fileName(9)}), Qt::Unchecked);

    // One file unchecked in a checked folder: the folder is no longer stored, each other file is
    // (the engine backs up exactly the listed paths).
    ASSERT_TRUE(waitUntil([&] { return setOnDisk() == filesExcept(9); })) << setOnDisk().size();
    BackupsetViewController &list = client->backup.backupsetViewController();
    ASSERT_TRUE(waitUntil([&] { return list.backupSet().size() == kFiles - 1; })) << list.backupSet().size();
    const QVariantMap sizes = sizesOnDisk();
    EXPECT_EQ(sizes.size(), kFiles - 1);
    EXPECT_EQ(sizes.value(folder() + "/" + fileName(0)), "1");
    EXPECT_FALSE(sizes.contains(folder() + "/" + fileName(9)));
    EXPECT_EQ(list.totalSizeTitle(), QStringLiteral("Estimated backup set size: %1 B").arg(kFiles - 1));
}

TEST_F(LargeSelectionInTheWindowTest, QuittingRightAfterAClickKeepsIt)
{
    openLoggedIn();
    const QModelIndex many = row({"Many"});
    click(many, Qt::Checked);
    click(row({"Many", fileName(3)}), Qt::Unchecked);
    client.reset();  // no turn of the event loop in between
    EXPECT_EQ(setOnDisk(), filesExcept(3));

    // The next start loads it: the folder is mixed, the file unchecked, its neighbours checked.
    openLoggedIn();
    const QModelIndex again = row({"Many"});
    ASSERT_TRUE(waitUntil([&] { return again.data(Qt::CheckStateRole).toInt() == Qt::PartiallyChecked; }));
    EXPECT_EQ(row({"Many", fileName(3)}).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(row({"Many", fileName(4)}).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(setOnDisk(), filesExcept(3));
}

TEST_F(LargeSelectionInTheWindowTest, BackupNowReadsTheSetAsLastClicked)
{
    openLoggedIn();
    click(row({"Many"}), Qt::Checked);
    // What Backup Now, the cleanup and the follow-ups read: the set as it stands after the click,
    // though its file is written on a worker.
    EXPECT_EQ(client->backup.controller().backupSet(), QStringList{folder()});
}
