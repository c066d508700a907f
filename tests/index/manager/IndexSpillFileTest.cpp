#include "index/manager/IndexSpillFile.h"

#include "support/SandboxFixture.h"

#include <QFileInfo>

#include <gtest/gtest.h>

class IndexSpillFileTest : public SandboxFixture
{};

// What waits for a writer on disk comes back whole, from a file only its
// owner can read, which is gone once taken.
TEST_F(IndexSpillFileTest, FilesComeBackWholeFromAPrivateFileThatIsThenGone)
{
    BackedUpFiles files;
    files.records.insert("/home/ann/a.txt", {"2", "fid", "/Office", "612e", 5, 1600000000});
    files.records.insert(QString::fromUtf8("/home/ann/caf\xC3\xA9"), {"1", "fid", "/Office", "", -1, -1});
    files.relativePaths.insert("/home/ann/a.txt", "/a.txt");

    const std::optional<QString> path = IndexSpillFile::write(root() + "/spill", files);
    ASSERT_TRUE(path);
    EXPECT_EQ(QFileInfo(*path).permissions(),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    const std::optional<BackedUpFiles> back = IndexSpillFile::take(*path);
    ASSERT_TRUE(back);
    EXPECT_FALSE(QFileInfo::exists(*path));
    EXPECT_EQ(back->relativePaths, files.relativePaths);
    ASSERT_EQ(back->records.keys(), files.records.keys());
    for (auto entry = files.records.cbegin(); entry != files.records.cend(); ++entry) {
        const StoredFileRecord &got = back->records.value(entry.key());
        EXPECT_EQ(got.versionNumber, entry->versionNumber);
        EXPECT_EQ(got.folderId, entry->folderId);
        EXPECT_EQ(got.mpcName, entry->mpcName);
        EXPECT_EQ(got.encFilename, entry->encFilename);
        EXPECT_EQ(got.encFilename.isNull(), entry->encFilename.isNull());
        EXPECT_EQ(got.size, entry->size);
        EXPECT_EQ(got.modificationTime, entry->modificationTime);
    }
    EXPECT_FALSE(IndexSpillFile::take(*path)) << "a file that is gone gives nothing";
}
