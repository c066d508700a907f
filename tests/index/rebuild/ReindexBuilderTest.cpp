#include "index/rebuild/ReindexBuilder.h"
#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMResultSet.h"
#include "support/QtPrinters.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>

#include <chrono>
#include <thread>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

class ReindexBuilderTest : public SandboxFixture
{
protected:
    static inline const QString kUser = "ann";

    static IndexTimings timings()
    {
        IndexTimings timings;
        timings.openWait = std::chrono::milliseconds(0);
        timings.mergePause = std::chrono::milliseconds(0);
        return timings;
    }

    QString folder() const { return root() + "/ldb"; }
    QString mainIndexPath() const { return folder() + "/" + kUser + ".qlenc"; }

    static IndexRows::FileValues file(const QString &name, const QString &version = "1")
    {
        return {name, "2014-05-06 10:11:12 +0000", "10", version, "fid", "/Office", "enc"};
    }

    // Rebuilds the main index with `count` files named prefix0, prefix1... in /Office/f<n / 10>.
    bool rebuild(int count, const QString &prefix, QString *error = nullptr)
    {
        ReindexBuilder builder(folder(), kUser, timings());
        if (!builder.start(error))
            return false;
        for (int n = 0; n < count; ++n)
            builder.addFile(QStringLiteral("/Office/f%1").arg(n / 10), file(prefix + QString::number(n)));
        return builder.finish(error);
    }

    static QString single(FMDatabase &db, const QString &sql)
    {
        auto rows = db.executeQuery(sql);
        return rows && rows->next() ? rows->stringForColumnIndex(0) : QString("(no row)");
    }
    QString fileCount() const
    {
        FMDatabase db(mainIndexPath());
        return db.open() ? single(db, "SELECT count(*) FROM qlfile") : QString("(no index)");
    }
    QStringList files() const
    {
        FMDatabase db(mainIndexPath());
        QStringList names;
        if (!db.open())
            return names;
        auto rows =
            db.executeQuery("SELECT qlfolder.NAME || qlfile.NAME FROM qlfile JOIN qlfolder USING (DIRID) ORDER BY 1");
        while (rows && rows->next())
            names << rows->stringForColumnIndex(0);
        return names;
    }
    QStringList indexFolderEntries() const { return QDir(folder()).entryList(QDir::Files, QDir::Name); }
};

TEST_F(ReindexBuilderTest, WritesFolderByFolderAndReplacesTheMainIndex)
{
    ASSERT_TRUE(rebuild(3, "old"));
    ASSERT_EQ(fileCount(), "3");

    ReindexBuilder builder(folder(), kUser, timings());
    QString error;
    ASSERT_TRUE(builder.start(&error)) << error.toStdString();
    builder.addFile("/Office/a", file("1.txt"));
    builder.addFile("/Office/a", file("2.txt"));
    builder.addFile("/Office/b/c", file("3.txt"));
    builder.addFile("/Office", file("top.txt"));
    // A folder that comes back later is added to; the first of two equal names stays.
    builder.addFile("/Office/a", file("4.txt"));
    builder.addFile("/Office/a", file("1.TXT", "9"));
    ASSERT_TRUE(builder.finish(&error)) << error.toStdString();

    EXPECT_EQ(files(), (QStringList{"'/Office/''top.txt'", "'/Office/a/''1.txt'", "'/Office/a/''2.txt'",
                                    "'/Office/a/''4.txt'", "'/Office/b/c/''3.txt'"}));
    EXPECT_EQ(builder.largestHeldFolder(), 2);
    EXPECT_EQ(indexFolderEntries(), QStringList{kUser + ".qlenc"});
}

TEST_F(ReindexBuilderTest, AnAbandonedRebuildLeavesTheMainIndexAsItWas)
{
    ASSERT_TRUE(rebuild(5, "old"));
    {
        ReindexBuilder builder(folder(), kUser, timings());
        ASSERT_TRUE(builder.start(nullptr));
        builder.addFile("/Office/new", file("new.txt"));
        builder.abandon();
    }
    {
        // Destroyed unfinished: the same.
        ReindexBuilder builder(folder(), kUser, timings());
        ASSERT_TRUE(builder.start(nullptr));
        builder.addFile("/Office/new", file("new.txt"));
    }
    EXPECT_EQ(fileCount(), "5");
    EXPECT_EQ(indexFolderEntries(), QStringList{kUser + ".qlenc"});
}

TEST_F(ReindexBuilderTest, ARebuildLeftBehindDoesNotLendItsRowsToTheNext)
{
    ASSERT_TRUE(rebuild(4, "first"));
    // As a rebuild killed after its commit, before its swap, leaves it.
    ASSERT_TRUE(QFile::copy(mainIndexPath(), folder() + "/" + kUser + "_reindex.qlenc"));
    ASSERT_TRUE(rebuild(1, "second"));
    EXPECT_EQ(files(), QStringList{"'/Office/f0/''second0'"});
}

TEST_F(ReindexBuilderTest, AnUnwritableIndexFolderIsAClearErrorAndLosesNothing)
{
    ASSERT_TRUE(rebuild(2, "old"));
    QFile::setPermissions(folder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(folder() + "/probe").exists() || QFile(folder() + "/probe").open(QIODevice::WriteOnly))
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    QString error;
    EXPECT_FALSE(rebuild(1, "new", &error));
    EXPECT_FALSE(error.isEmpty());
    QFile::setPermissions(folder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(fileCount(), "2");
}

TEST_F(ReindexBuilderTest, AReaderOfTheMainIndexSeesTheOldIndexOrTheNewNeverAMix)
{
    ASSERT_TRUE(rebuild(30, "old"));
    FMDatabase reader(mainIndexPath());
    ASSERT_TRUE(reader.open());
    ASSERT_TRUE(reader.beginDeferredTransaction());
    ASSERT_EQ(single(reader, "SELECT count(*) FROM qlfile"), "30");

    ASSERT_TRUE(rebuild(7, "new"));
    EXPECT_EQ(single(reader, "SELECT count(*) FROM qlfile"), "30") << "a read transaction keeps its snapshot";
    reader.commit();
    EXPECT_EQ(single(reader, "SELECT count(*) FROM qlfile"), "7");
    EXPECT_EQ(single(reader, "PRAGMA integrity_check"), "ok");
    reader.close();
    EXPECT_EQ(fileCount(), "7");
}

TEST_F(ReindexBuilderTest, AProcessKilledWhileReplacingTheIndexLeavesOneReadableIndex)
{
    // Two complete indices to swap in turn, large enough that a swap takes a while.
    constexpr int kOld = 20000;
    constexpr int kNew = 15000;
    ASSERT_TRUE(rebuild(kNew, "new"));
    ASSERT_TRUE(QFile::rename(mainIndexPath(), folder() + "/new.qlenc"));
    ASSERT_TRUE(rebuild(kOld, "old"));
    ASSERT_TRUE(QFile::copy(mainIndexPath(), folder() + "/old.qlenc"));

    for (int killAfterMs : {5, 20, 45, 80, 130}) {
        SCOPED_TRACE(killAfterMs);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FMDatabase target(mainIndexPath());
            FMDatabase sources[] = {FMDatabase(folder() + "/new.qlenc"), FMDatabase(folder() + "/old.qlenc")};
            target.open();
            sources[0].open();
            sources[1].open();
            for (int round = 0;; ++round)
                target.replaceContentsWith(sources[round % 2]);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(killAfterMs));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        FMDatabase db(mainIndexPath());
        ASSERT_TRUE(db.open());
        EXPECT_EQ(single(db, "PRAGMA integrity_check"), "ok");
        const QString count = single(db, "SELECT count(*) FROM qlfile");
        EXPECT_TRUE(count == QString::number(kOld) || count == QString::number(kNew)) << count.toStdString();
    }
}
