#include "session/blocks/ListBlockDealer.h"
#include "session/operation/OperationFolder.h"

#include "support/SandboxFixture.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <thread>

// Dealing paths into numbered list blocks, and an engine's list from a block.

namespace {

QStringList paths(int count, const QString &prefix = "/d/f")
{
    QStringList list;
    for (int i = 1; i <= count; ++i)
        list << prefix + QString::number(i);
    return list;
}

class ListBlockDealerTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        folder.setLocation(applicationFolder(), false);
        ASSERT_TRUE(folder.create());
    }

    void reset(ListBlockDealer::Form form)
    {
        dealer.reset(&folder, form, [this](long n) { written << n; });
    }

    QStringList blockLines(long n) const
    {
        return OperationFolder::readText(folder.blockPath(n)).value_or("<missing>").split(u'\n');
    }

    OperationFolder folder;
    ListBlockDealer dealer;
    QList<long> written;
};

TEST_F(ListBlockDealerTest, TwelveThousandInTwoBatchesGiveFourBlocks)
{
    reset(ListBlockDealer::Form::Backup);
    const QStringList all = paths(12000);
    dealer.writeRestoreSetToOperationFiles(all.mid(0, 10000));
    dealer.writeRestoreSetToOperationFiles(all.mid(10000));
    ASSERT_EQ(written, (QList<long>{0, 1, 2, 3}));
    EXPECT_EQ(blockLines(0).size(), 5000);
    EXPECT_EQ(blockLines(1).size(), 5000);
    EXPECT_EQ(blockLines(2).size(), 1000);
    EXPECT_EQ(blockLines(3).size(), 1000);
    // Odd positions go to the second list, which fills first; even ones to the first list.
    EXPECT_EQ(blockLines(0).first(), "/d/f1");
    EXPECT_EQ(blockLines(1).first(), "/d/f2");
    QStringList union_;
    for (long n = 0; n < 4; ++n)
        union_ << blockLines(n);
    union_.sort();
    QStringList expected = all;
    expected.sort();
    EXPECT_EQ(union_, expected) << "every path in exactly one block";
}

TEST_F(ListBlockDealerTest, BlocksArePrivateToTheUser)
{
    reset(ListBlockDealer::Form::Backup);
    dealer.writeRestoreSetToOperationFiles({"/a"});
    EXPECT_EQ(int(QFileInfo(folder.blockPath(0)).permissions()) & 0x0077, 0);
    EXPECT_EQ(QFile::permissions(folder.path()), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ExeOwner | QFileDevice::ReadUser |
                                                     QFileDevice::WriteUser | QFileDevice::ExeUser);
}

TEST_F(ListBlockDealerTest, ARewrittenFileIsReplacedWholeAndStaysPrivate)
{
    reset(ListBlockDealer::Form::Backup);
    const QString cancel = folder.cancelFile();
    // A world-readable file in its place is replaced, not written through.
    ASSERT_TRUE(QFile(cancel).open(QIODevice::WriteOnly));
    QFile::setPermissions(cancel, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    for (const char *text : {"1", "3", "0"})
        ASSERT_TRUE(OperationFolder::writePrivateText(cancel, text));
    EXPECT_EQ(OperationFolder::readText(cancel), "0");
    EXPECT_EQ(int(QFileInfo(cancel).permissions()) & 0x0077, 0);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"intCancel"})
        << "no half-written copy is left beside it";
}

TEST_F(ListBlockDealerTest, LongBlocksOfWideNamesAndTheirEngineListsKeepEveryByte)
{
    // Blocks far larger than the writer's buffer, with characters of two to
    // four bytes falling across every buffer boundary.
    reset(ListBlockDealer::Form::Sync);
    QStringList all;
    for (int i = 0; i < 2 * ListBlockDealer::kBlockLines; ++i)
        all << QStringLiteral("/Users/x/caf\u00e9 \u20ac/%1 \U0001F600.txt").arg(i);
    dealer.writeSyncSetToOperationsFiles(all, "/Users/x");
    ASSERT_EQ(written, (QList<long>{0, 1}));
    QStringList odd;
    for (qsizetype i = 0; i < all.size(); i += 2)
        odd << all.at(i).mid(QStringLiteral("/Users/x").size());
    EXPECT_EQ(blockLines(0), QStringList{"/Users/x/"} + odd);

    const QString list = folder.sourceA();
    ASSERT_TRUE(OperationFolder::writePrivateText(list, QString(200000, u'x')));  // a longer list before it
    EXPECT_EQ(ListBlockDealer::setSourceFileContents(folder.blockPath(0), list, ListBlockDealer::Form::Sync),
              "/Users/x/");
    EXPECT_EQ(OperationFolder::readText(list), odd.join(u'\n'));
    EXPECT_EQ(int(QFileInfo(list).permissions()) & 0x0077, 0);

    // In backup mode an engine's list is the block itself, byte for byte.
    EXPECT_EQ(ListBlockDealer::setSourceFileContents(folder.blockPath(1), list, ListBlockDealer::Form::Backup), "");
    const QByteArray block = readText(folder.blockPath(1));
    EXPECT_EQ(readText(list), block);
    EXPECT_EQ(int(QFileInfo(list).permissions()) & 0x0077, 0);
    ASSERT_TRUE(OperationFolder::writePrivateText(list, "the next list"));
    EXPECT_EQ(readText(folder.blockPath(1)), block) << "a later list leaves the block as it was";
    EXPECT_EQ(ListBlockDealer::setSourceFileContents(folder.blockPath(7), list, ListBlockDealer::Form::Backup),
              std::nullopt)
        << "a missing block fills no list";
}

TEST_F(ListBlockDealerTest, RestoreMarkerHeadsEveryBlock)
{
    reset(ListBlockDealer::Form::Restore);
    dealer.writeRestoreSetToOperationFiles(QStringList{ListBlockDealer::kRestoreMarker} + paths(10000));
    ASSERT_EQ(written.size(), 4);
    for (long n = 0; n < 4; ++n) {
        EXPECT_EQ(blockLines(n).first(), ListBlockDealer::kRestoreMarker);
        EXPECT_LE(blockLines(n).size(), ListBlockDealer::kBlockLines);
    }
}

TEST_F(ListBlockDealerTest, RestoreBlockWithoutMarkerStartsWithTheDataRootLine)
{
    reset(ListBlockDealer::Form::Restore);
    dealer.writeRestoreSetToOperationFiles({"/Office/12/6c", "/Office/12/6d"});
    EXPECT_EQ(blockLines(0), (QStringList{"//", "/Office/12/6d"}));
    const QString list = root() + "/SourceA";
    EXPECT_EQ(ListBlockDealer::setSourceFileContents(folder.blockPath(0), list, ListBlockDealer::Form::Restore), "//");
    EXPECT_EQ(OperationFolder::readText(list), "/Office/12/6d");
}

TEST_F(ListBlockDealerTest, SyncPathsLoseTheirParentAsALeadingPrefixOnly)
{
    reset(ListBlockDealer::Form::Sync);
    dealer.writeSyncSetToOperationsFiles({"/Users/x/Docs/a", "/Users/x/Docs/Users/x/b"}, "/Users/x");
    dealer.writeSyncSetToOperationsFiles({"/Users/y/c"}, "");
    // A folder directly under "/": its paths keep their leading "/".
    dealer.writeSyncSetToOperationsFiles({"/top/d"}, "/");
    // The parent only as whole leading components.
    dealer.writeSyncSetToOperationsFiles({"/data/Users/x/e"}, "/Users/x");
    EXPECT_EQ(blockLines(0), (QStringList{"/Users/x/", "/Docs/Users/x/b"}));
    EXPECT_EQ(blockLines(1), (QStringList{"/Users/x/", "/Docs/a"}));
    EXPECT_EQ(blockLines(2), (QStringList{"/", "/Users/y/c"}));
    EXPECT_EQ(blockLines(3), (QStringList{"/", "/top/d"}));
    EXPECT_EQ(blockLines(4), (QStringList{"/Users/x/", "/data/Users/x/e"}));
}

TEST_F(ListBlockDealerTest, TwoThreadsDealingNeverShareABlockNumber)
{
    reset(ListBlockDealer::Form::Restore);
    std::thread folders([this] {
        for (int i = 0; i < 20; ++i)
            dealer.writeRestoreSetToOperationFiles(paths(3, QStringLiteral("/A%1/").arg(i)));
    });
    std::thread files([this] {
        for (int i = 0; i < 20; ++i)
            dealer.writeRestoreSetToOperationFiles(paths(3, QStringLiteral("/B%1/").arg(i)));
    });
    folders.join();
    files.join();
    ASSERT_EQ(dealer.blocksWritten(), 80);
    int lines = 0;
    for (long n = 0; n < 80; ++n)
        lines += blockLines(n).size() - 1;
    EXPECT_EQ(lines, 120) << "no block overwrote another";
}

}  // namespace
