#include "common/utility/QLUtility.h"
#include "platform/VolumeFacts.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>

class QLUtilityPathsVolumesTest : public SandboxFixture
{};

TEST_F(QLUtilityPathsVolumesTest, PartialReadsStopAtTheEndOfTheFile)
{
    const QString path = root() + "/output.txt";
    writeText(path, "0123456789");
    EXPECT_EQ(*QLUtility::dataWithContentsOfFile(path, 7, 5242880), "789");
    EXPECT_EQ(*QLUtility::dataWithContentsOfFile(path, 2, 3), "234");
    EXPECT_EQ(*QLUtility::dataWithContentsOfFile(path, 4), "0123");
    EXPECT_EQ(*QLUtility::dataWithContentsOfFile(path, 10, 5), "");
    EXPECT_EQ(*QLUtility::dataWithContentsOfFile(path, 50, 5), "");
    EXPECT_FALSE(QLUtility::dataWithContentsOfFile(root() + "/missing.txt", 0, 5).has_value());
}

TEST_F(QLUtilityPathsVolumesTest, SmallPathAndTextTests)
{
    writeText(root() + "/file", "x");
    EXPECT_TRUE(QLUtility::isWritableFileAtPath(root() + "/file"));
    EXPECT_TRUE(QLUtility::isWritableFileAtPath(root()));
    EXPECT_FALSE(QLUtility::isWritableFileAtPath(root() + "/missing"));

    EXPECT_EQ(QLUtility::LocateCharecter("a/b/c", '/'), 1);
    EXPECT_EQ(QLUtility::LocateCharecter("abc", '/'), -1);

    EXPECT_TRUE(QLUtility::isSupportedImage("/p/photo.JPG"));
    EXPECT_TRUE(QLUtility::isSupportedImage("/p/scan.tiff"));
    EXPECT_FALSE(QLUtility::isSupportedImage("/p/movie.mov"));
    EXPECT_FALSE(QLUtility::isSupportedImage("/p/jpg"));
    EXPECT_FALSE(QLUtility::isSupportedImageFile("/p/a.PNG", {"jpg"}));
}

TEST_F(QLUtilityPathsVolumesTest, VolumesAreTheFoldersOfTheVolumesRootWithTheStartUpVolumeAsRoot)
{
    QDir().mkpath(volumes() + "/Backup");
    QDir().mkpath(volumes() + "/Archive Disk");
    ASSERT_TRUE(QFile::link("/", volumes() + "/Startup"));
    writeText(volumes() + "/note.txt", "not a volume");
    EXPECT_EQ(QLUtility::listMountedVolumesPaths(),
              (QStringList{volumes() + "/Archive Disk", volumes() + "/Backup", "/"}));

    QDir(volumes()).removeRecursively();
    EXPECT_TRUE(QLUtility::listMountedVolumesPaths().isEmpty());
}

TEST_F(QLUtilityPathsVolumesTest, TimeMachineFoldersAreTheVolumesDatabaseFoldersInVolumeOrder)
{
    EXPECT_TRUE(QLUtility::timeMachineFolders().isEmpty());
    QDir().mkpath(volumes() + "/Zeta/Backups.backupdb");
    QDir().mkpath(volumes() + "/Alpha/Backups.backupdb/Office");
    QDir().mkpath(volumes() + "/Plain/Documents");
    writeText(volumes() + "/Odd/Backups.backupdb", "a file of that name");
    QDir().mkpath(volumes() + "/Nested/Inner/Backups.backupdb");  // only a volume's top level counts
    EXPECT_EQ(QLUtility::timeMachineFolders(),
              (QStringList{volumes() + "/Alpha/Backups.backupdb", volumes() + "/Zeta/Backups.backupdb"}));
}

TEST_F(QLUtilityPathsVolumesTest, FileSizesResolveLinksAndMissingPathsAreEmpty)
{
    writeText(root() + "/five.txt", "12345");
    ASSERT_TRUE(QFile::link(root() + "/five.txt", root() + "/link-to-five"));
    ASSERT_TRUE(QFile::link(root() + "/gone.txt", root() + "/dangling"));
    EXPECT_EQ(QLUtility::calculateSizeOfFile(root() + "/five.txt"), 5u);
    EXPECT_EQ(QLUtility::calculateSizeOfFile(root() + "/link-to-five"), 5u);
    EXPECT_EQ(QLUtility::calculateSizeOfFile(root() + "/missing"), 0u);
    EXPECT_EQ(QLUtility::calculateSizeOfFile(root() + "/dangling"), 0u);
}

// Links inside a folder are not followed: neither out of the folder to a big
// file, nor back up into a parent (which would loop).
TEST_F(QLUtilityPathsVolumesTest, FolderSizeSumsItsOwnFilesWithoutFollowingLinks)
{
    const QString folder = root() + "/tree";
    writeText(folder + "/a.txt", "12345");
    writeText(folder + "/sub/.hidden", "123");
    writeText(folder + "/sub/deeper/b.bin", QByteArray(1000, 'x'));
    QDir().mkpath(folder + "/empty");
    writeText(root() + "/outside.bin", QByteArray(100000, 'y'));
    ASSERT_TRUE(QFile::link(root() + "/outside.bin", folder + "/to-outside"));
    ASSERT_TRUE(QFile::link(folder, folder + "/sub/loop"));
    EXPECT_EQ(QLUtility::calculateSizeOfFile(folder, std::chrono::microseconds(0)), 1008u);
    EXPECT_EQ(QLUtility::calculateSizeOfFile(folder + "/empty", std::chrono::microseconds(0)), 0u);
}

TEST_F(QLUtilityPathsVolumesTest, RootAndListedVolumesAreMeasuredButASlashedVolumePathIsWalked)
{
    writeText(volumes() + "/Backup/five.txt", "12345");
    EXPECT_EQ(QLUtility::calculateSizeOfFile(volumes() + "/Backup/", std::chrono::microseconds(0)), 5u);
    // The used bytes of the file system (other programs on the machine may
    // change them meanwhile), never the 5 bytes of the walk.
    const quint64 measured = QLUtility::calculateSizeOfFile(volumes() + "/Backup");
    EXPECT_NE(measured, 5u);
    EXPECT_NEAR(double(measured), double(VolumeFacts::usedBytes(volumes())), double(quint64(64) << 20));
    EXPECT_NEAR(double(QLUtility::calculateSizeOfFile("/")), double(VolumeFacts::usedBytes("/")),
                double(quint64(64) << 20));
}
