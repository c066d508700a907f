#include "session/enumeration/FileSizeTally.h"

#include "support/SandboxFixture.h"

#include <QFile>

#include <gtest/gtest.h>

// The sizes of the files a backup keeps, measured beside the walk.

class FileSizeTallyTest : public SandboxFixture
{};

TEST_F(FileSizeTallyTest, CountsFilesAndLinksOnceEverythingAddedIsMeasured)
{
    writeText(root() + "/a", "12345");
    writeText(root() + "/b", "12");
    ASSERT_TRUE(QFile::link(root() + "/a", root() + "/link"));
    // More paths than may wait at once: adding waits for the measuring instead of piling up.
    QStringList many;
    for (qsizetype i = 0; i < FileSizeTally::kMaxWaitingPaths; ++i)
        many << root() + "/b";

    std::atomic<quint64> total{7};
    FileSizeTally tally(total);
    tally.add({root() + "/a", root() + "/link", root() + "/gone", root()});
    tally.add(many);
    tally.add(many);
    tally.waitUntilCounted();
    const quint64 linkText = quint64(QFile::encodeName(root() + "/a").size());
    EXPECT_EQ(total, 7u + 5u + linkText + 2u * 2 * quint64(many.size()))
        << "a link counts its text; a lost file and a folder count nothing";
}
