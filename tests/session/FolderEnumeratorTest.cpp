#include "session/enumeration/FolderEnumerator.h"
#include "session/enumeration/folderEnumeratorDelegateProtocol.h"

#include "support/IsolatedRerun.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

// The walk over a fixture tree with links, odd names and folders it must not enter.

namespace {

class WalkRecorder : public folderEnumeratorDelegateProtocol
{
public:
    void didFoundFile(const QString &path, quint64 size) override { files.insert(path, size); }
    void didEndFolderEnumeration(const FoundFiles &batch, const QString &parent) override
    {
        batchSizes << batch.size();
        parents << parent;
        for (const FoundFile &file : batch)
            files.insert(file.path, file.size);
    }
    void didCalculateSizeofFolder(const QString &path, quint64 size) override { sizes.insert(path, size); }
    void didEncounterError(const QString &folder, const QString &) override { errors << folder; }
    void didEndCalculation() override { ++ends; }

    QMap<QString, quint64> files;
    QList<qsizetype> batchSizes;
    QStringList parents;
    QMap<QString, quint64> sizes;
    QStringList errors;
    int ends = 0;
};

constexpr FolderEnumerator::Timings kNoPause{std::chrono::microseconds(0)};

class FolderEnumeratorTest : public SandboxFixture
{
protected:
    QString tree() const { return root() + "/tree"; }

    void walk(FolderEnumerator &walker, const QStringList &paths)
    {
        walker.setDelegate(&recorder);
        walker.shouldEnumerateFolder(true);
        walker.getFolderSize(paths);
    }

    WalkRecorder recorder;
};

TEST_F(FolderEnumeratorTest, ReportsFilesAndLinksAndNeverFollowsInnerLinks)
{
    writeText(tree() + "/a.txt", "12345");
    writeText(tree() + "/sub/b c.txt", "12");
    writeText(tree() + QString::fromUtf8("/sub/caf\xC3\xA9"), "1");
    writeText(tree() + "/sub/line\nbreak", "1");
    QDir().mkpath(tree() + "/empty");
    // Links are items of their own, sized by their text: a link back up must
    // not loop, one to a file must not report the file again, a broken one is kept.
    ASSERT_EQ(::symlink("..", QFile::encodeName(tree() + "/sub/loop").constData()), 0);
    ASSERT_EQ(::symlink("../a.txt", QFile::encodeName(tree() + "/sub/alias").constData()), 0);
    ASSERT_EQ(::symlink("nowhere/at/all", QFile::encodeName(tree() + "/sub/broken").constData()), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree() + "/sub/pipe").constData(), 0600), 0) << "holds no data to keep";

    const QMap<QString, quint64> measured{{tree() + "/a.txt", 5},
                                          {tree() + "/sub/b c.txt", 2},
                                          {tree() + QString::fromUtf8("/sub/caf\xC3\xA9"), 1},
                                          {tree() + "/sub/line\nbreak", 1},
                                          {tree() + "/sub/loop", 2},
                                          {tree() + "/sub/alias", 8},
                                          {tree() + "/sub/broken", 14}};
    for (const bool measures : {true, false}) {
        SCOPED_TRACE(measures ? "measured" : "listed alone");
        recorder = WalkRecorder();
        FolderEnumerator walker(kNoPause);
        walker.setMBackupMode(true);
        walker.setMeasuresFiles(measures);
        walk(walker, {tree()});

        QMap<QString, quint64> expected = measured;
        for (quint64 &size : expected)
            size = measures ? size : 0;
        EXPECT_EQ(recorder.files, expected);
        EXPECT_EQ(recorder.sizes.value(tree()), measures ? 9u + 2 + 8 + 14 : 0u);
        EXPECT_EQ(recorder.ends, 1);
        EXPECT_TRUE(recorder.errors.isEmpty());
    }
}

TEST_F(FolderEnumeratorTest, EmptyFolderGivesOneSizeAndTheEnd)
{
    QDir().mkpath(tree());
    FolderEnumerator walker(kNoPause);
    walker.setMBackupMode(true);
    walk(walker, {tree()});
    EXPECT_TRUE(recorder.files.isEmpty());
    EXPECT_EQ(recorder.sizes, (QMap<QString, quint64>{{tree(), 0}}));
    EXPECT_EQ(recorder.ends, 1);
}

TEST_F(FolderEnumeratorTest, SelectedLinkToAFolderIsWalkedUnderItsOwnPathAndParent)
{
    writeText(root() + "/real/target/f.txt", "x");
    ASSERT_TRUE(QFile::link(root() + "/real/target", root() + "/link"));
    FolderEnumerator walker(kNoPause);
    walker.setMBackupMode(false);
    walker.setMIsBackupOrRestore(true);
    walk(walker, {root() + "/link"});
    EXPECT_EQ(recorder.files.keys(), QStringList{root() + "/link/f.txt"});
    EXPECT_EQ(recorder.parents, QStringList{root()});
}

TEST_F(FolderEnumeratorTest, SkippedFoldersAreNotEnteredBelowTheSelection)
{
    writeText(tree() + "/keep/a", "a");
    writeText(tree() + "/drive/data/b", "b");
    FolderEnumerator walker(kNoPause);
    walker.setMBackupMode(true);
    walker.setSkippedFolders({tree() + "/drive/data"});
    walk(walker, {tree()});
    EXPECT_EQ(recorder.files.keys(), QStringList{tree() + "/keep/a"});
}

TEST_F(FolderEnumeratorTest, UnreadableFolderIsReportedAndLeftOut)
{
    if (rerunAsAnotherUser())
        return;
    writeText(tree() + "/locked/secret", "s");
    writeText(tree() + "/open/f", "f");
    QFile::setPermissions(tree() + "/locked", QFileDevice::WriteOwner);
    FolderEnumerator walker(kNoPause);
    walker.setMBackupMode(true);
    walk(walker, {tree()});
    QFile::setPermissions(tree() + "/locked", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(recorder.files.keys(), QStringList{tree() + "/open/f"});
    EXPECT_EQ(recorder.errors, QStringList{tree() + "/locked"});
}

TEST_F(FolderEnumeratorTest, SyncModeBatchesByTenThousandAndFlushesAtTheFolderEnd)
{
    QDir().mkpath(tree());
    for (int i = 0; i < FolderEnumerator::kBatchSize + 1; ++i) {
        QFile file(tree() + QStringLiteral("/f%1").arg(i));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    writeText(root() + "/single.txt", "1");
    FolderEnumerator walker(kNoPause);
    walker.setMBackupMode(false);
    walker.setMIsBackupOrRestore(true);
    walk(walker, {tree(), root() + "/single.txt"});
    EXPECT_EQ(recorder.batchSizes, (QList<qsizetype>{FolderEnumerator::kBatchSize, 1, 1}));
    EXPECT_EQ(recorder.parents, (QStringList{root(), root(), root()}));
    EXPECT_EQ(recorder.files.size(), FolderEnumerator::kBatchSize + 2);
}

TEST_F(FolderEnumeratorTest, EachPauseIsToldOnceWithItsSpan)
{
    QDir().mkpath(tree());
    // 120 entries: the walk pauses before the 1st, the 51st and the 101st.
    for (int i = 0; i < 120; ++i)
        QFile(tree() + QStringLiteral("/f%1").arg(i)).open(QIODevice::WriteOnly);
    for (const auto pause : {std::chrono::microseconds(0), std::chrono::microseconds(1)}) {
        std::vector<std::pair<FolderEnumerator::Clock::time_point, FolderEnumerator::Clock::time_point>> spans;
        FolderEnumerator walker(FolderEnumerator::Timings{pause});
        walker.setMBackupMode(true);
        walker.setPauseListener([&spans](auto from, auto to) { spans.emplace_back(from, to); });
        walk(walker, {tree()});
        ASSERT_EQ(spans.size(), pause.count() ? 3u : 0u) << "a pause of 0 is no pause";
        for (size_t i = 0; i < spans.size(); ++i) {
            EXPECT_LE(spans[i].first, spans[i].second);
            if (i > 0) {
                EXPECT_LE(spans[i - 1].second, spans[i].first) << "told as each ends, in order";
            }
        }
    }
}

TEST_F(FolderEnumeratorTest, StopEndsABackupWalkWithItsEndButASizeRunWithout)
{
    writeText(tree() + "/a", "a");
    FolderEnumerator walker(kNoPause);
    walker.setMBackupMode(true);
    walker.setDelegate(&recorder);
    walker.shouldEnumerateFolder(false);
    walker.getFolderSize({tree()});
    EXPECT_EQ(recorder.ends, 1);
    EXPECT_TRUE(recorder.files.isEmpty());

    walker.FolderSize({tree()});
    EXPECT_EQ(recorder.ends, 1) << "a stopped size calculation sends no end";
}

}  // namespace
