#include "common/categories/Extention.h"
#include "common/categories/FileterArrayUsingBlocks.h"
#include "common/categories/Hyperlink.h"
#include "common/categories/MyExtensions.h"
#include "common/files/DirectiryCreation.h"
#include "platform/KeyedArchive.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <thread>
#include <vector>

class CollectionCategoriesTest : public SandboxFixture
{
protected:
    QString archive() const { return root() + "/Schedules.archive"; }

    static unsigned modeOf(const QString &path)
    {
        struct stat info
        {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
    }
};

TEST_F(CollectionCategoriesTest, ArchivedArrayRoundTripsAndARewriteReplacesTheWholeFile)
{
    const KeyedArchive::ArchivedObject record{"TarnixScheduleItem", {{"username", "ann"}, {"password", "secret"}}};
    ASSERT_TRUE(MyExtensions::writeToArchivedFile({QVariant::fromValue(record), "two"}, archive(), "Schedules"));
    const auto read = MyExtensions::initWithContentsOfArchivedFile(archive(), "Schedules");
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->size(), 2);
    EXPECT_EQ(read->at(0).value<KeyedArchive::ArchivedObject>(), record);

    ASSERT_TRUE(MyExtensions::writeToArchivedFile({"only"}, archive(), "Schedules"));
    EXPECT_EQ(*MyExtensions::initWithContentsOfArchivedFile(archive(), "Schedules"), QVariantList{"only"});
    EXPECT_EQ(*MyExtensions::initWithContentsOfArchivedFile(archive(), "Other"), QVariantList());
}

TEST_F(CollectionCategoriesTest, MissingOrCorruptArchiveReadsAsNone)
{
    EXPECT_FALSE(MyExtensions::initWithContentsOfArchivedFile(archive(), "Schedules").has_value());
    writeText(archive(), "bplist00 but not really");
    EXPECT_FALSE(MyExtensions::initWithContentsOfArchivedFile(archive(), "Schedules").has_value());
}

// The schedules archive holds account passwords: owner only, also when an
// older file was world-writable, and a failed write changes nothing.
TEST_F(CollectionCategoriesTest, ArchiveIsOwnerOnlyAndAFailedWriteLeavesNoFile)
{
    writeText(archive(), "old");
    QFile::setPermissions(archive(), QFileDevice::Permissions(0x7777));
    ASSERT_TRUE(MyExtensions::writeToArchivedFile({1}, archive(), "Schedules"));
    EXPECT_EQ(modeOf(archive()), 0600u);

    writeText(root() + "/plain-file", "x");
    const QString impossible = root() + "/plain-file/Schedules.archive";
    EXPECT_FALSE(MyExtensions::writeToArchivedFile({1}, impossible, "Schedules"));
    EXPECT_FALSE(QFileInfo::exists(impossible));
}

TEST_F(CollectionCategoriesTest, FolderHierarchyIsCreatedAndAnExistingOneIsNoError)
{
    const QString deep = root() + "/a/b/c";
    EXPECT_TRUE(Directiry_Creation::createDirectoryHierarchyAtPath(deep));
    EXPECT_TRUE(QFileInfo(deep).isDir());
    EXPECT_TRUE(Directiry_Creation::createDirectoryHierarchyAtPath(deep));
    writeText(root() + "/file", "x");
    EXPECT_FALSE(Directiry_Creation::createDirectoryHierarchyAtPath(root() + "/file/sub"));
}

TEST_F(CollectionCategoriesTest, PrefixTestsOnSetsAndArrays)
{
    EXPECT_FALSE(fileterArrayUsingBlocks::HasPrefix({}, "/a"));
    EXPECT_TRUE(fileterArrayUsingBlocks::HasPrefix({"/b/x", "/a/y"}, "/a"));
    EXPECT_FALSE(fileterArrayUsingBlocks::HasPrefix({"/b/x"}, "/a"));

    const QStringList paths{"/a/1", "/b/2", "/a/3"};
    EXPECT_EQ(MyExtensions::objectsWithPrefix(paths, "/a"), (QStringList{"/a/1", "/a/3"}));
    EXPECT_TRUE(MyExtensions::objectsWithPrefix(paths, QString()).isEmpty());
    EXPECT_TRUE(MyExtensions::objectsWithPrefix({}, "/a").isEmpty());
}

TEST_F(CollectionCategoriesTest, UnselectedEntriesAreThoseReadingAsFalse)
{
    QVariantMap entries{{"boolNo", false}, {"zero", 0}, {"textZero", "0"},  {"textNo", "NO"}, {"none", QVariant()},
                        {"boolYes", true}, {"one", 1},  {"textYes", "YES"}, {"textOne", "1"}};
    Extention::filterUnselectedEntries(entries);
    EXPECT_EQ(entries.keys(), (QStringList{"boolYes", "one", "textOne", "textYes"}));
}

TEST_F(CollectionCategoriesTest, SizeTotalCountsEachKeyOnceAndStaysExact)
{
    Extention::setTotalSizeValue(0);
    QVariantMap sizes;
    const quint64 large = (quint64(1) << 53) + 1;  // not representable as a double
    Extention::setSizeObject(sizes, large, "/a");
    Extention::setSizeObject(sizes, 7, "/a");
    Extention::setSizeObject(sizes, 2, "/b");
    EXPECT_EQ(sizes.value("/a").toULongLong(), large);
    EXPECT_EQ(Extention::totalSizeValue(), large + 2);

    // Backups add from several threads at once.
    Extention::setTotalSizeValue(0);
    std::vector<std::thread> workers;
    for (int worker = 0; worker < 4; ++worker) {
        workers.emplace_back([] {
            QVariantMap own;
            for (int i = 0; i < 5000; ++i)
                Extention::setSizeObject(own, 3, QString::number(i));
        });
    }
    for (auto &worker : workers)
        worker.join();
    EXPECT_EQ(Extention::totalSizeValue(), 4u * 5000u * 3u);
}

TEST_F(CollectionCategoriesTest, HyperlinkIsBlueAndEscapesItsParts)
{
    EXPECT_EQ(Hyperlink::hyperlinkFromString("Reset <password> & more", "https://example.test/a?b=1&c=\"2\""),
              "<a href=\"https://example.test/a?b=1&amp;c=&quot;2&quot;\" style=\"color: blue\">"
              "Reset &lt;password&gt; &amp; more</a>");
}
