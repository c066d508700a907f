#include "session/manager/RuvoBackupManager.h"

#include "engine/controllers/ControllerTestSupport.h"
#include "session/SessionTestSupport.h"

#include <QDir>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>

// A restore's selection from the drive's index: the picked folders and files
// are searched in a real index, and the engine that runs on the blocks only
// records the lists it is given.

class RestoreSelectionTest : public IndexReaderFixture
{
protected:
    void SetUp() override
    {
        IndexReaderFixture::SetUp();
        fakeEngine.install(root());
        // A restore succeeds only when every file listed was run.
        qputenv("FAKE_ENGINE_COMPLETES", "1");
        QDir().mkpath(userFolder());
        manager = makeRestoreManager(fastTimings(), delegate, applicationFolder(), userFolder(), root() + "/target",
                                     fakeEngine.executable());
    }

    void TearDown() override
    {
        manager.reset();
        IndexReaderFixture::TearDown();
    }

    QString userFolder() const { return volumes() + "/Drive/TarnixVidezud/ann"; }

    // Indexes `count` files "f<i>" in the folder "/Office/<name>", whose folder
    // identifier is its name; returns their engine-side paths.
    QStringList indexFolder(const QString &name, int count)
    {
        QList<JournalRow> rows;
        QStringList lines;
        for (int i = 0; i < count; ++i) {
            const QString encName = QStringLiteral("e%1").arg(i);
            rows.append({QStringLiteral("/Office/%1/f%2").arg(name).arg(i), "INSERT", 100, 1, encName, name});
            lines << QStringLiteral("/Office/%1/%2").arg(name, encName);
        }
        writeJournal(rows);
        EXPECT_TRUE(mergeJournals());
        return lines;
    }

    void restore(const QStringList &folders, const QStringList &files)
    {
        manager->mFolderSetForRelativeRestore() = folders;
        manager->mFileSetForRestore() = files;
        manager->startRestore();
        ASSERT_TRUE(delegate.waitForEnd());
    }

    QStringList restoredLines() const
    {
        QStringList all;
        for (const QStringList &run : fakeEngine.runs())
            all << run;
        all.sort();
        return all;
    }

    FakeEngine fakeEngine;
    SessionRecorder delegate;
    std::unique_ptr<RuvoBackupManager> manager;
};

TEST_F(RestoreSelectionTest, ListLineOfAnIndexRecord)
{
    IndexEntry file;
    file.fileName = "/Office/Docs/a.txt";
    file.folderID = "9f2c";
    file.encFilename = "612e";
    file.mpcName = "/Office";
    IndexEntry folder = file;
    folder.fileName = "/Office/Docs/";
    EXPECT_EQ(RestoreSelection::restoreListLine(file, true), "/Office/9f2c/612e");
    EXPECT_EQ(RestoreSelection::restoreListLine(file, false), "/9f2c/612e");
    EXPECT_EQ(RestoreSelection::restoreListLine(folder, true), std::nullopt);
    EXPECT_EQ(RestoreSelection::restoreListLine(folder, false), std::nullopt);
}

// Both searches write blocks from their own threads at once: no block number
// is given twice, every block runs once, and the session ends once.
TEST_F(RestoreSelectionTest, LargeFolderAndFilesAreDealtIntoBlocksThatEachRunOnce)
{
    QStringList expected = indexFolder("big", 25000);
    const QStringList small = indexFolder("small", 3);
    expected << small.at(0) << small.at(2);
    expected.sort();
    restore({"Office/big"}, {"/Office/small/f0", "Office/small/f2"});

    EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"});
    QList<qsizetype> blockSizes;
    for (const QStringList &run : fakeEngine.runs())
        blockSizes << run.size();
    std::sort(blockSizes.begin(), blockSizes.end());
    EXPECT_EQ(blockSizes, (QList<qsizetype>{1, 1, 2500, 2500, 5000, 5000, 5000, 5000}));
    EXPECT_EQ(restoredLines(), expected);
    EXPECT_EQ(manager->blocksWritten(), 8);
    EXPECT_EQ(manager->filesConsideredforOp(), 25002u);
    EXPECT_EQ(manager->totalBytes(), 25002u * 100);
    EXPECT_EQ(delegate.count("listed"), 1);
    EXPECT_EQ(delegate.count("start"), 1);
    EXPECT_FALSE(delegate.offMainThread);
    EXPECT_FALSE(manager->isRunning());
}

TEST_F(RestoreSelectionTest, PicksThatFindNothingAreReportedAndListingGoesOn)
{
    const QStringList small = indexFolder("small", 3);
    struct Case
    {
        const char *name;
        QStringList folders;
        QStringList files;
        QStringList restored;
        QStringList errors;
    };
    const Case cases[] = {
        {"files only, one not indexed",
         {},
         {"/Office/small/f1", "/Office/small/ghost"},
         {small.at(1)},
         {"error: Empty Folder encountered:/Office/small/ghost"}},
        {"an empty folder, then a full one",
         {"Office/nothing", "Office/small"},
         {},
         small,
         {"error: Empty Folder encountered:/Office/nothing"}},
        {"nothing found at all", {"Office/nothing"}, {}, {}, {"error: Empty Folder encountered:/Office/nothing"}},
        {"nothing picked", {}, {}, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fakeEngine.clearRuns();
        delegate = SessionRecorder();
        restore(c.folders, c.files);
        EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"});
        EXPECT_EQ(restoredLines(), c.restored);
        QStringList errors;
        for (const QString &event : std::as_const(delegate.events))
            if (event.startsWith("error: "))
                errors << event;
        EXPECT_EQ(errors, c.errors);
        EXPECT_EQ(delegate.count("listed"), 1);
    }
}

// A search that fails goes on with the next pick and the listing ends; the
// session ends once, as a failure, never as a success.
TEST_F(RestoreSelectionTest, FailedSearchesStillEndTheListingOnceAsFailure)
{
    indexFolder("small", 3);
    spoilIndex();
    restore({"Office/small", "Office/other"}, {"/Office/small/f0"});
    const QStringList ends = delegate.settledEndStates();
    ASSERT_EQ(ends.size(), 1);
    EXPECT_TRUE(ends.first().startsWith(
        "failure: Unable to continue the operation. Reason: the backup index could not be searched ("))
        << ends.first().toStdString();
    EXPECT_EQ(delegate.count("listed"), 1);
    EXPECT_TRUE(fakeEngine.runs().isEmpty());
    EXPECT_FALSE(manager->isRunning());
}
