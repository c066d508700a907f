#include "EngineHarness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

class ControlTest : public EngineHarness
{
protected:
    QStringList manyFiles(int count)
    {
        QStringList list;
        for (int i = 0; i < count; ++i) {
            list << source(QStringLiteral("/f%1.txt").arg(i));
            writeText(list.last(), QByteArray::number(i));
        }
        writeList(list);
        return list;
    }

    // What lies in the folder of the engine's temporary copies.
    QStringList stagedNames() const
    {
        return QDir(drive() + "/.txruvo-tmp").entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    // Files on the drive under their real names, bookkeeping left out.
    QStringList storedNames() const
    {
        QStringList names;
        for (const QString &name : QDir(drive() + source(QString())).entryList(QDir::Files | QDir::Hidden))
            if (!name.endsWith("_.chk"))
                names << name;
        return names;
    }
};

TEST_F(ControlTest, PauseHoldsTheRunUntilTheThrottleFileChanges)
{
    manyFiles(3);
    setControl("QLThrottle", "-1");
    const std::unique_ptr<QProcess> process = start(backupVector());
    EXPECT_FALSE(process->waitForFinished(400));
    EXPECT_TRUE(readText(operation() + "/OutData_0.txt").isEmpty());

    setControl("QLThrottle", "100");
    const Run result = collect(*process);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.lines().size(), 3);
}

TEST_F(ControlTest, CancelStopsPromptlyAlsoWhilePaused)
{
    manyFiles(3);
    setControl("QLThrottle", "-1");
    const std::unique_ptr<QProcess> process = start(backupVector());
    QThread::msleep(200);
    QElapsedTimer clock;
    clock.start();
    setControl("intCancel", "3");
    const Run result = collect(*process);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.lines().isEmpty());
    EXPECT_TRUE(storedNames().isEmpty()) << qPrintable(storedNames().join(", "));
}

TEST_F(ControlTest, KillAtAnyMomentLeavesOnlyWholeFilesUnderRealNames)
{
    const QString big = source("/big.bin");
    const QByteArray oldContent(6 << 20, 'o');
    const QByteArray newContent(9 << 20, 'n');
    writeText(big, oldContent);
    writeList({big});
    ASSERT_EQ(run(backupVector()).exitCode, 0);
    writeText(big, newContent);

    for (int delayMs = 0; delayMs <= 40; delayMs += 4) {
        const std::unique_ptr<QProcess> process = start(backupVector());
        QThread::msleep(ulong(delayMs));
        process->kill();
        process->waitForFinished();
        const QByteArray now = stored(drive() + big);
        EXPECT_TRUE(now == oldContent || now == newContent) << "torn copy after " << delayMs << " ms";
        for (const QString &name : storedNames())
            EXPECT_TRUE(name == "big.bin" || name.startsWith(".txruvo-")) << qPrintable(name);
    }
    // The next run clears what the killed ones left.
    ASSERT_EQ(run(backupVector()).exitCode, 0);
    EXPECT_EQ(stagedNames(), QStringList()) << qPrintable(stagedNames().join(", "));
    EXPECT_EQ(stored(drive() + big), newContent);
}

TEST_F(ControlTest, LeftoversAreRemovedOnlyWhenNoRunHoldsThem)
{
    manyFiles(1);
    const QString staging = drive() + "/.txruvo-tmp";
    for (const char *name : {"11-dead.lock", "11-dead-0.part", "11-dead-1.part", "12-nolock-0.part",
                                "13-live.lock", "13-live-0.part"})
        writeText(staging + '/' + QLatin1String(name), "x");
    // A run still alive holds its lock.
    const int live = ::open(QFile::encodeName(staging + "/13-live.lock").constData(), O_RDONLY);
    ASSERT_GE(live, 0);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);

    ASSERT_EQ(run(backupVector()).exitCode, 0);
    EXPECT_EQ(stagedNames(), QStringList({"13-live-0.part", "13-live.lock"}));
    ::close(live);
    ASSERT_EQ(run(backupVector()).exitCode, 0);
    EXPECT_EQ(stagedNames(), QStringList());
}

}  // namespace
