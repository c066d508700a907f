#include "txruvo/FileCopier.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray pattern(qint64 size)
{
    QByteArray content(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        content[i] = char(i * 7 + i / 251);
    return content;
}

void write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size()) << qPrintable(path);
}

struct stat statusOf(const QString &path)
{
    struct stat status
    {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &status), 0) << qPrintable(path);
    return status;
}

// A copy is whole under its real name after commit() and nowhere before it,
// whatever its size (empty, one byte, more than one chunk) and whether the
// kernel copies within one file system or between two (the usual backup
// drive; /dev/shm is a file system of its own where it exists).
TEST(FileCopierTest, CopiesAreWholeOnlyOnceNamedWithinAndAcrossFileSystems)
{
    QTemporaryDir drive;
    QTemporaryDir sameFileSystem;
    QTemporaryDir otherFileSystem(QStringLiteral("/dev/shm/txruvo-test-XXXXXX"));
    QList<QPair<const char *, QString>> sources{{"same file system", sameFileSystem.path()}};
    if (otherFileSystem.isValid() && statusOf(otherFileSystem.path()).st_dev != statusOf(drive.path()).st_dev)
        sources.append({"across file systems", otherFileSystem.path()});
    const QString folder = drive.path() + "/stored";
    const QString staging = drive.path() + "/staging";
    ASSERT_TRUE(QDir().mkpath(folder) && QDir().mkpath(staging));

    int n = 0;
    for (const auto &[where, sourceFolder] : sources) {
        for (const qint64 size : {qint64(0), qint64(1), FileCopier::kChunkBytes + 3}) {
            for (const bool replacing : {false, true}) {
                const QString name = QStringLiteral("f%1").arg(n++);
                const QString source = sourceFolder + '/' + name;
                const QString target = folder + '/' + name;
                const QByteArray content = pattern(size);
                write(source, content);
                ASSERT_EQ(::chmod(QFile::encodeName(source).constData(), 0640), 0);
                const struct timespec times[2] = {{1400000000, 5}, {1400000001, 123456789}};
                ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(source).constData(), times, 0), 0);
                if (replacing)
                    write(target, "old");

                DriveBudget budget(std::nullopt);
                FileCopier copier(budget);
                struct stat status
                {};
                ASSERT_TRUE(copier.openSource(source, &status)) << where;
                int staged = 0;
                ASSERT_TRUE(copier.copyInto(
                    {AT_FDCWD, QFile::encodeName(folder)},
                    [&] { return QStringLiteral("%1/%2.part").arg(staging).arg(++staged); }, nullptr))
                    << where << ' ' << size;
                EXPECT_EQ(QFile(target).exists(), replacing) << where << ' ' << size;
                ASSERT_TRUE(copier.commit({AT_FDCWD, QFile::encodeName(target)}))
                    << where << ' ' << size << ' ' << copier.error();

                QFile copy(target);
                ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
                EXPECT_TRUE(copy.readAll() == content) << where << ' ' << size << (replacing ? " replacing" : "");
                const struct stat copied = statusOf(target);
                EXPECT_EQ(copied.st_mode & 07777, 0640u) << where << ' ' << size;
                EXPECT_EQ(copied.st_mtim.tv_sec, 1400000001) << where << ' ' << size;
                EXPECT_EQ(copied.st_mtim.tv_nsec, 123456789) << where << ' ' << size;
                // A replacing copy is staged for one rename, and nothing is left there.
                EXPECT_EQ(staged, replacing ? 1 : 0) << where << ' ' << size;
                EXPECT_TRUE(QDir(staging).isEmpty()) << where << ' ' << size;
            }
        }
    }
}

}  // namespace

namespace {

// A source rewritten while it is copied is copied again from its start, so
// the copy is never the old head with the new tail under the time seen at
// open; one that keeps changing fails the copy rather than storing it torn.
TEST(FileCopierTest, ASourceRewrittenDuringItsCopyIsCopiedAgainOrRefused)
{
    QTemporaryDir folder;
    const QString source = folder.path() + "/big";
    const QString target = folder.path() + "/copy";
    const qint64 size = 2 * FileCopier::kChunkBytes + 5;
    const QByteArray before = pattern(size);
    QByteArray after = before;
    after[0] = 'H';
    after[size - 1] = 'T';

    for (const bool keepsChanging : {false, true}) {
        SCOPED_TRACE(keepsChanging ? "keeps changing" : "rewritten once");
        write(source, before);
        long stamp = 1400000000;
        const auto setTime = [&] {
            // Distinct times: a rewrite within the clock's tick would otherwise keep the old one.
            const struct timespec times[2] = {{stamp, 0}, {stamp, 0}};
            ++stamp;
            ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(source).constData(), times, 0), 0);
        };
        setTime();
        DriveBudget budget(std::nullopt);
        FileCopier copier(budget);
        struct stat status
        {};
        ASSERT_TRUE(copier.openSource(source, &status));
        int rewrites = 0;
        const auto rewriteBothEnds = [&](quint64) {
            if (keepsChanging || rewrites == 0) {
                QFile file(source);
                EXPECT_TRUE(file.open(QIODevice::ReadWrite));
                file.write(after.left(1));
                file.seek(size - 1);
                file.write(after.right(1));
                file.close();
                setTime();
                ++rewrites;
            }
            return true;
        };
        QFile::remove(target);
        const bool copied = copier.copyInto(
            {AT_FDCWD, QFile::encodeName(folder.path())}, [&] { return folder.path() + "/staged.part"; },
            rewriteBothEnds);
        if (keepsChanging) {
            EXPECT_FALSE(copied);
            EXPECT_EQ(copier.failure(), FileCopier::Failure::Changed);
            EXPECT_FALSE(QFile::exists(target));
            continue;
        }
        ASSERT_TRUE(copied);
        ASSERT_TRUE(copier.commit({AT_FDCWD, QFile::encodeName(target)}));
        QFile copy(target);
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_TRUE(copy.readAll() == after);
        EXPECT_EQ(statusOf(target).st_mtim.tv_sec, statusOf(source).st_mtim.tv_sec);
        EXPECT_EQ(copier.sourceStatus().st_mtim.tv_sec, statusOf(source).st_mtim.tv_sec);
    }
}

}  // namespace
