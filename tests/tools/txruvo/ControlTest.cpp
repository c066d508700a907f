#include "EngineHarness.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Counts the opens of one file of a folder through inotify, so that a test can
// wait for the engine to have looked at a control file without guessing a time.
class ControlReads
{
public:
    ControlReads(const QString &folder, const QString &fileName)
        : mFd(::inotify_init1(IN_CLOEXEC))
        , mFileName(QFile::encodeName(fileName))
    {
        EXPECT_GE(mFd, 0);
        EXPECT_GE(::inotify_add_watch(mFd, QFile::encodeName(folder).constData(), IN_OPEN), 0);
    }
    ~ControlReads() { ::close(mFd); }
    ControlReads(const ControlReads &) = delete;
    ControlReads &operator=(const ControlReads &) = delete;

    // True once the file was opened `count` times; false only when that takes
    // far longer than any run should.
    bool waitFor(int count) const
    {
        const QDeadlineTimer hang(kHangMs);
        int seen = 0;
        alignas(inotify_event) char buffer[4096];
        while (seen < count && !hang.hasExpired()) {
            pollfd ready{mFd, POLLIN, 0};
            if (::poll(&ready, 1, int(hang.remainingTime())) <= 0)
                continue;
            const ssize_t length = ::read(mFd, buffer, sizeof buffer);
            for (ssize_t at = 0; at < length;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                if (event->len > 0 && mFileName == event->name)
                    ++seen;
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        return seen >= count;
    }

private:
    static constexpr int kHangMs = 20000;
    const int mFd;
    const QByteArray mFileName;
};

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

// Control files are the client's; whatever their paths name instead (an
// endless device, a FIFO nobody writes to), a look at them stays one short
// read and the run goes on.
TEST_F(ControlTest, ControlFilesThatNeverEndOrNeverOpenDoNotHoldTheRun)
{
    manyFiles(3);
    const QString fifo = operation() + "/throttle-fifo";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QStringList vector = backupVector();
    for (QString &argument : vector) {
        if (argument.startsWith("--chk-cancel="))
            argument = "--chk-cancel=/dev/zero";
        else if (argument.startsWith("--bw-file="))
            argument = "--bw-file=" + fifo;
    }
    const Run result = run(vector);  // fails on a hang
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.lines().size(), 3);
}

TEST_F(ControlTest, CancelStopsTheRunAlsoWhilePaused)
{
    manyFiles(3);
    setControl("QLThrottle", "-1");
    const ControlReads reads(operation(), "QLThrottle");
    const std::unique_ptr<QProcess> process = start(backupVector());
    // A second look at the throttle file is made only while the run waits out the pause.
    ASSERT_TRUE(reads.waitFor(2));
    setControl("intCancel", "3");
    // Paused for good, the run can only end through the cancel: collect() fails on a hang.
    const Run result = collect(*process);
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
    for (const char *name :
         {"11-dead.lock", "11-dead-0.part", "11-dead-1.part", "12-nolock-0.part", "13-live.lock", "13-live-0.part"})
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
