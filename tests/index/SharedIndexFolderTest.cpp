#include "IndexFixture.h"

#include "support/OtherUser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

// The index folder on a drive is shared by the machine's users: what another
// user puts there or does there must never change this user's index.
class SharedIndexFolderTest : public IndexFixture
{
protected:
    void SetUp() override
    {
        IndexFixture::SetUp();
        if (!OtherUser::available())
            GTEST_SKIP() << "acting as another user needs root";
        OtherUser::openPathTo(root());
    }

    QString journalNamed(const QString &stem) const { return folder() + "/" + stem + ".qlt"; }
};

TEST_F(SharedIndexFolderTest, AnotherUsersJournalIsNeverMergedAndTheIndexCannotBeMovedAway)
{
    addFiles({"/d/a.txt"});
    struct stat info
    {};
    ASSERT_EQ(::stat(QFile::encodeName(folder()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 01777u) << "shared, and nobody removes another's files";

    // A journal that deletes a row and adds a fake one, copied in by another user.
    writeJournal({{"/d/a.txt", "DELETE"}, {"/d/fake.txt"}});
    const QString ours = folder() + "/" + folderEntries().filter(".qlt").value(0);
    const QString planted = journalNamed("2000-01-01 00.00.00 +0000_1");
    ASSERT_EQ(OtherUser::run({"cp", ours, planted}), 0);
    ASSERT_TRUE(QFile::remove(ours));

    mergeJournals();
    EXPECT_EQ(fileRows(), QStringList{"'/d/''a.txt'"});
    EXPECT_TRUE(QFile::exists(planted)) << "another user's journal is left to that user";

    EXPECT_NE(OtherUser::run({"mv", mainIndexPath(), folder() + "/moved"}), 0);
    EXPECT_NE(OtherUser::run({"rm", "-f", mainIndexPath()}), 0);
    EXPECT_EQ(fileRows(), QStringList{"'/d/''a.txt'"});
}

TEST_F(SharedIndexFolderTest, AnIndexFileOfAnotherUserIsRefusedWithAMessage)
{
    addFiles({"/d/a.txt"});
    const QString foreign = folder() + "/bob.qlenc";
    ASSERT_EQ(OtherUser::run({"cp", mainIndexPath(), foreign}), 0);
    TXDatabaseWrapper index{kShortTimings};
    QString error;
    EXPECT_FALSE(index.initializeDatabaseAtPath(folder(), "bob", 1, &error));
    EXPECT_TRUE(error.contains("another user")) << error.toStdString();
}

TEST_F(SharedIndexFolderTest, AFolderAnotherUserLeftOpenToAllIsRefused)
{
    QDir().mkpath(QFileInfo(folder()).path());
    OtherUser::openPathTo(folder());
    ::chmod(QFile::encodeName(QFileInfo(folder()).path()).constData(), 01777);
    ASSERT_EQ(OtherUser::run({"mkdir", "-m", "0777", folder()}), 0);
    TXDatabaseWrapper index{kShortTimings};
    QString error;
    EXPECT_FALSE(index.initializeDatabaseAtPath(folder(), kUser, 1, &error));
    EXPECT_TRUE(error.contains("lets other users remove")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(mainIndexPath()));
}
