#include "EngineHarness.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

class BackupTest : public EngineHarness
{
protected:
    QString storedPath(const QString &localPath) const { return drive() + localPath; }
    QString versionPath(const QString &localPath, int slot) const
    {
        return drive() + "/alice.ver" + localPath + QStringLiteral(".qlvn%1").arg(slot, 3, 10, QLatin1Char('0'));
    }
};

TEST_F(BackupTest, NewChangedAndUnchangedFilesAreStoredVersionedAndReported)
{
    const QString a = source("/Docs/a.txt");
    const QString b = source("/Docs/b.txt");
    writeText(a, "first");
    writeText(b, "bee");
    writeList({a, b});

    const Run first = run(backupVector());
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_TRUE(first.errors.isEmpty()) << qPrintable(first.errors);
    EXPECT_TRUE(first.stdOut.isEmpty() && first.stdErr.isEmpty());
    ASSERT_EQ(first.lines().size(), 2);
    auto lines = first.completed();
    EXPECT_EQ(lines[a]["trf_type"], "FULL");
    EXPECT_EQ(lines[a]["size"], "5");
    EXPECT_EQ(lines[a]["mpc"], "/Office");
    EXPECT_FALSE(lines[a]["folder_id"].isEmpty());
    EXPECT_EQ(lines[a]["folder_id"], lines[b]["folder_id"]);  // one folder, one identifier
    EXPECT_EQ(lines[a]["enc_name"], QString::fromLatin1(QByteArray("a.txt").toHex()));
    EXPECT_EQ(lines[a]["file_ver"], "1");
    EXPECT_EQ(stored(storedPath(a)), "first");
    EXPECT_TRUE(QFile::exists(storedPath(a) + "_.chk"));
    EXPECT_EQ(QFileInfo(storedPath(a)).lastModified(), QFileInfo(a).lastModified());

    writeText(a, "second!");
    const Run second = run(backupVector());
    ASSERT_EQ(second.lines().size(), 2);
    lines = second.completed();
    EXPECT_EQ(lines[a]["trf_type"], "INCREMENTAL");
    EXPECT_EQ(lines[a]["file_ver"], "2");
    EXPECT_EQ(lines[b]["trf_type"], "FILE IN SYNC");
    EXPECT_EQ(lines[b]["folder_id"], first.completed()[b]["folder_id"]);
    // Run totals: bytes copied and bytes found unchanged, whichever came first.
    const auto last = second.lines().last();
    EXPECT_EQ(last["tottrf_sz"], "7");
    EXPECT_EQ(last["cum_size"], "3");
    EXPECT_EQ(stored(storedPath(a)), "second!");
    EXPECT_EQ(stored(versionPath(a, 1)), "first");
    EXPECT_TRUE(QFile::exists(drive() + "/alice.ver" + a + "_.chk.qlvn001"));
}

// A version folder the client made with other letter case is the one used;
// a file (or a link) of that name is not a version folder.
// An unchanged re-backup writes nothing to the drive, whatever the access times
// of the sources and the stored copies (a copy read since its backup has lost
// the access time it was stored with): no status change of any stored file or
// folder. Only the run's own lock comes and goes in the staging folder.
TEST_F(BackupTest, AnUnchangedRebackupChangesNothingOnTheDrive)
{
    QStringList files;
    for (int i = 0; i < 12; ++i) {
        files << source(QStringLiteral("/Docs/%1/f%2.txt").arg(i % 3).arg(i));
        writeText(files.last(), QByteArray::number(i));
    }
    writeList(files);
    ASSERT_EQ(run(backupVector()).exitCode, 0);
    for (const QString &file : files) {
        const struct timespec sourceTimes[2] = {{1500000000, 0}, {0, UTIME_OMIT}};
        const struct timespec storedTimes[2] = {{1600000000, 0}, {0, UTIME_OMIT}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), sourceTimes, 0), 0);
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(storedPath(file)).constData(), storedTimes, 0), 0);
    }
    // The folders above the sandbox stand for shared ones (/tmp) that other
    // programs change meanwhile; their stored records follow those changes.
    const auto recordsASharedFolder = [sandbox = drive() + root()](const QString &path) {
        const QString folder = path.endsWith("/.txruvo-folder_.chk") ? path.section('/', 0, -2) : path;
        return sandbox.startsWith(folder + '/');
    };
    const auto snapshot = [&] {
        QStringList entries;
        QDirIterator walk(userRoot(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                          QDirIterator::Subdirectories);
        while (walk.hasNext()) {
            const QString path = walk.next();
            if (path.contains("/.txruvo-tmp") || recordsASharedFolder(path))
                continue;
            struct stat status
            {};
            ::lstat(QFile::encodeName(path).constData(), &status);
            // Change and modification times: any write, a time set included, moves the first.
            // (Access times move by the file system's own account when a marker is read.)
            entries << QStringLiteral("%1 %2.%3 %4.%5")
                           .arg(path)
                           .arg(status.st_ctim.tv_sec)
                           .arg(status.st_ctim.tv_nsec)
                           .arg(status.st_mtim.tv_sec)
                           .arg(status.st_mtim.tv_nsec);
        }
        entries.sort();
        return entries;
    };
    const QStringList before = snapshot();
    const Run again = run(backupVector());
    EXPECT_EQ(again.exitCode, 0);
    for (const auto &line : again.completed())
        EXPECT_EQ(line["trf_type"], "FILE IN SYNC");
    EXPECT_EQ(again.completed().size(), files.size());
    EXPECT_EQ(snapshot(), before);
}

TEST_F(BackupTest, VersionFolderIsFoundWhateverItsLetterCase)
{
    const QString a = source("/a.txt");
    writeList({a});
    writeText(a, "first");
    ASSERT_EQ(run(backupVector()).exitCode, 0);
    ASSERT_TRUE(QDir().mkpath(drive() + "/ALICE.Ver"));
    writeText(drive() + "/Alice.VER", "not a folder");

    writeText(a, "second!");
    const Run second = run(backupVector());
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.completed()[a]["file_ver"], "2");
    EXPECT_EQ(stored(drive() + "/ALICE.Ver" + a + ".qlvn001"), "first");
    EXPECT_FALSE(QFileInfo::exists(drive() + "/alice.ver"));
}

TEST_F(BackupTest, KeepsFiveVersionsDroppingTheOldest)
{
    const QString a = source("/a.txt");
    writeList({a});
    for (int round = 1; round <= 7; ++round) {
        writeText(a, QByteArray::number(round));
        // Distinct modification times even on a coarse clock.
        QFile(a).setFileTime(QDateTime::currentDateTime().addSecs(round), QFileDevice::FileModificationTime);
        ASSERT_EQ(run(backupVector()).exitCode, 0);
    }
    EXPECT_EQ(stored(storedPath(a)), "7");
    for (int slot = 1; slot <= 5; ++slot)
        EXPECT_EQ(stored(versionPath(a, slot)), QByteArray::number(slot + 1)) << slot;
    EXPECT_FALSE(QFile::exists(versionPath(a, 6)));
    writeText(a, "8");
    QFile(a).setFileTime(QDateTime::currentDateTime().addSecs(8), QFileDevice::FileModificationTime);
    EXPECT_EQ(run(backupVector()).lines().value(0).value("file_ver"), "6");
}

// An unchanged item reports the version it is: one more than its slots in
// use, whatever its neighbours keep (an escaped name's versions too).
TEST_F(BackupTest, UnchangedItemsReportTheirOwnVersionBesideItemsWithVersions)
{
    const QString twice = source("/Docs/twice.txt");
    const QString escaped = source("/Docs/a.txt_.chk");  // stored as "a.txt_.chk_.usr"
    const QString once = source("/Docs/twice.txt.old");
    writeList({twice, escaped, once});
    writeText(once, "same");
    for (int round = 1; round <= 3; ++round) {
        writeText(twice, QByteArray::number(round));
        writeText(escaped, QByteArray::number(round % 2));
        for (const QString &path : {twice, escaped})
            QFile(path).setFileTime(QDateTime::currentDateTime().addSecs(round), QFileDevice::FileModificationTime);
        ASSERT_EQ(run(backupVector()).exitCode, 0);
    }
    const Run unchanged = run(backupVector());
    const auto lines = unchanged.completed();
    ASSERT_EQ(lines.size(), 3);
    for (const auto &[path, version] : {std::pair{twice, "3"}, std::pair{escaped, "3"}, std::pair{once, "1"}}) {
        EXPECT_EQ(lines[path]["trf_type"], "FILE IN SYNC") << qPrintable(path);
        EXPECT_EQ(lines[path]["file_ver"], version) << qPrintable(path);
    }
}

TEST_F(BackupTest, NoVersionsOverwritesInPlace)
{
    const QString a = source("/a.txt");
    writeList({a});
    writeText(a, "old");
    run(backupVector(false));
    writeText(a, "newer");
    const Run again = run(backupVector(false));
    EXPECT_EQ(again.lines().value(0).value("trf_type"), "INCREMENTAL");
    EXPECT_EQ(stored(storedPath(a)), "newer");
    EXPECT_FALSE(QDir(drive() + "/alice.ver").exists());
}

// Many folders are handled by several threads at once, whose lines reach
// the file in batches: still one line per file, and run totals that grow
// line by line in the order the lines were written.
TEST_F(BackupTest, RepeatRunOverManyFoldersReportsEachFileOnceWithGrowingTotals)
{
    QStringList list;
    QHash<QString, qint64> sizes;
    for (int i = 0; i < 600; ++i) {
        const QString path = source(QStringLiteral("/d%1/f%2.txt").arg(i % 24).arg(i));
        const QByteArray content(1 + i % 37, 'x');
        writeText(path, content);
        list << path;
        sizes.insert(path, content.size());
    }
    writeList(list);
    ASSERT_EQ(run(backupVector()).exitCode, 0);

    const Run again = run(backupVector());
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(again.errors.isEmpty()) << qPrintable(again.errors);
    const auto lines = again.lines();
    ASSERT_EQ(lines.size(), list.size());
    EXPECT_EQ(again.completed().size(), list.size());
    qint64 unchangedSoFar = 0;
    for (const auto &line : lines) {
        ASSERT_EQ(line["trf_type"], "FILE IN SYNC") << qPrintable(line["fname"]);
        unchangedSoFar += sizes.value(line["fname"]);
        ASSERT_EQ(line["cum_size"].toLongLong(), unchangedSoFar) << qPrintable(line["fname"]);
        ASSERT_EQ(line["tot_sz"], line["cum_size"]);
    }
}

TEST_F(BackupTest, OddNamesAreStoredAndReportedExactly)
{
    const QStringList names = {"/with blank.txt", "/quote\"and'apos.txt", "/bracket]]end]",
                               "/<tag>&amp;.txt", "/ünïcødé ✓.txt",       "/[x] ,: y"};
    QStringList list;
    for (const QString &name : names) {
        writeText(source(name), name.toUtf8());
        list << source(name);
    }
    writeList(list);
    const Run result = run(backupVector());
    EXPECT_TRUE(result.errors.isEmpty()) << qPrintable(result.errors);
    const auto lines = result.completed();
    ASSERT_EQ(lines.size(), names.size());
    for (const QString &name : names) {
        ASSERT_TRUE(lines.contains(source(name))) << qPrintable(name);
        EXPECT_EQ(stored(storedPath(source(name))), name.toUtf8());
        EXPECT_EQ(QByteArray::fromHex(lines[source(name)]["enc_name"].toLatin1()), name.mid(1).toUtf8());
    }
}

TEST_F(BackupTest, BadEntriesGetPerFileErrorsAndTheRestIsStored)
{
    const QString good = source("/good.txt");
    writeText(good, "ok");
    const QString fifo = source("/pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    writeText(source("/rel.txt"), "relative");
    QByteArray list = source("/missing.txt").toUtf8() + '\n' + fifo.toUtf8() + '\n' + source("/").toUtf8() +
                      QByteArray("bad\xff.txt") + '\n' + source("/../escape.txt").toUtf8() + '\n' +
                      source("/rel.txt").mid(1).toUtf8() + '\n' + source("/gone, :sep.txt").toUtf8() + '\n' +
                      good.toUtf8();
    writeText(operation() + "/SourceA", list);

    const Run result = run(backupVector());
    EXPECT_EQ(result.exitCode, 0);  // per-file errors do not fail the run
    EXPECT_TRUE(result.errors.contains("IOERROR: [" + source("/missing.txt") + "], : No such file or directory\n"));
    EXPECT_TRUE(
        result.errors.contains("IOERROR: [" + fifo + "], : Operation not permitted (not a regular file or link)\n"));
    EXPECT_TRUE(result.errors.contains("Operation not permitted (file name is not valid UTF-8)"));
    EXPECT_TRUE(result.errors.contains("IOERROR: [" + source("/../escape.txt") + "], : Operation not permitted"));
    // A relative line is refused, not stored as if it began with "/".
    EXPECT_TRUE(result.errors.contains("IOERROR: [" + source("/rel.txt").mid(1) +
                                       "], : Operation not permitted (not an absolute path)\n"));
    // The client splits at the first ", :" and takes the path between the first "[" and the last "]".
    const QString separated = result.errors.split('\n').filter("sep.txt").value(0);
    const QString firstPiece = separated.split(", :").value(0);
    EXPECT_EQ(firstPiece.mid(firstPiece.indexOf('[') + 1, firstPiece.lastIndexOf(']') - firstPiece.indexOf('[') - 1),
              source("/gone,?:sep.txt"));
    EXPECT_EQ(separated.split(", :").value(1), " No such file or directory");
    EXPECT_EQ(result.errors.count('\n'), 6);
    ASSERT_EQ(result.lines().size(), 1);
    EXPECT_EQ(stored(storedPath(good)), "ok");
    EXPECT_FALSE(QFile::exists(drive() + root() + "/escape.txt"));
    EXPECT_FALSE(QFile::exists(drive() + source("/rel.txt")));
}

TEST_F(BackupTest, FolderLinksOnTheDriveAreNotFollowed)
{
    const QString a = source("/Docs/a.txt");
    writeText(a, "alpha");
    writeList({a});
    const QString outside = root() + "/outside";
    QDir().mkpath(outside);
    QDir().mkpath(QFileInfo(drive() + source("/Docs")).absolutePath());
    ASSERT_TRUE(QFile::link(outside, drive() + source("/Docs")));

    const Run result = run(backupVector());
    EXPECT_EQ(result.errors, "IOERROR: [" + a + "], : Not a directory (txruvo error in file IO)\n");
    EXPECT_TRUE(QDir(outside).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST_F(BackupTest, SyncModeStoresBelowTheBaseWithoutVersions)
{
    const QString base = source("/Sync/");
    writeText(source("/Sync/Docs/a.txt"), "one");
    writeList({"/Docs/a.txt"});
    const Run first = run(syncVector(base));
    ASSERT_EQ(first.lines().size(), 1);
    EXPECT_EQ(first.lines()[0]["fname"], "/Docs/a.txt");
    EXPECT_EQ(first.lines()[0]["mpc"], "/Office");
    EXPECT_EQ(stored(drive() + "/Docs/a.txt"), "one");

    writeText(source("/Sync/Docs/a.txt"), "two");
    EXPECT_EQ(run(syncVector(base)).lines().value(0).value("trf_type"), "INCREMENTAL");
    EXPECT_EQ(stored(drive() + "/Docs/a.txt"), "two");
    EXPECT_FALSE(QDir(drive() + "/alice.ver").exists());
}

}  // namespace
