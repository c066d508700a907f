#include "EngineHarness.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Backs files up first, then restores them by the identifiers the backup reported.
class RestoreTest : public EngineHarness
{
protected:
    // Backs up the files and answers each one's restore line "/Office/<folder id>/<enc name>".
    QStringList backUp(const QList<QPair<QString, QByteArray>> &files)
    {
        QStringList list;
        for (const auto &[path, content] : files) {
            writeText(source(path), content);
            list << source(path);
        }
        writeList(list);
        const Run result = run(backupVector());
        EXPECT_EQ(result.exitCode, 0);
        QStringList restoreLines;
        for (const QString &path : list) {
            const auto line = result.completed().value(path);
            restoreLines << line["mpc"] + '/' + line["folder_id"] + '/' + line["enc_name"];
        }
        return restoreLines;
    }

    QString target() const { return root() + "/restored"; }
};

TEST_F(RestoreTest, RestoresLatestUnderTheFullPathOrTheNameAlone)
{
    const QStringList lines = backUp({{"/Docs/a.txt", "alpha"}, {"/Docs/Sub/b b\"].txt", "beta"}});
    writeList(lines);

    const Run relative = run(restoreVector("//", target()));
    EXPECT_EQ(relative.exitCode, 0);
    EXPECT_TRUE(relative.errors.isEmpty()) << qPrintable(relative.errors);
    EXPECT_EQ(stored(target() + source("/Docs/a.txt")), "alpha");
    EXPECT_EQ(stored(target() + source("/Docs/Sub/b b\"].txt")), "beta");
    // Two folders, restored on threads of their own: the lines come in no fixed order.
    ASSERT_EQ(relative.lines().size(), 2);
    EXPECT_EQ(relative.completed().value(source("/Docs/a.txt")).value("trf_type"), "FULL");

    const Run again = run(restoreVector("//", target()));
    EXPECT_EQ(again.completed().value(source("/Docs/a.txt")).value("trf_type"), "FILE IN SYNC");

    writeList({lines[1]});
    const QString flat = root() + "/flat";
    run(restoreVector("/", flat, false));
    EXPECT_EQ(stored(flat + "/b b\"].txt"), "beta");
}

struct FolderState
{
    mode_t mode;
    timespec modified;
};

FolderState folderState(const QString &path)
{
    struct stat status
    {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0) << qPrintable(path);
    return {mode_t(status.st_mode & 07777), status.st_mtim};
}

void setFolderState(const QString &path, const FolderState &state)
{
    const timespec times[2] = {state.modified, state.modified};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), state.mode), 0);
}

void expectFolderState(const QString &path, const FolderState &expected)
{
    const FolderState restored = folderState(path);
    EXPECT_EQ(restored.mode, expected.mode) << qPrintable(path);
    EXPECT_EQ(restored.modified.tv_sec, expected.modified.tv_sec) << qPrintable(path);
    EXPECT_EQ(restored.modified.tv_nsec, expected.modified.tv_nsec) << qPrintable(path);
}

// A private folder comes back private, with its times: made 0700 while the
// restore fills it, given its own mode and times once its files are in.
TEST_F(RestoreTest, RestoredFoldersTakeTheStoredModeAndTimesNeverWider)
{
    const QStringList lines = backUp({{"/Private/Group/b.txt", "beta"}, {"/Private/a.txt", "alpha"}});
    const FolderState privateFolder{0700, {1400000000, 123456789}};
    const FolderState groupFolder{0750, {1500000000, 987654321}};
    setFolderState(source("/Private/Group"), groupFolder);
    setFolderState(source("/Private"), privateFolder);
    run(backupVector());  // an unchanged re-backup records the folders as they are now
    writeList(lines);

    // One line at a time, a second apart: the folders can be looked at between them.
    setScenario({{"lineDelayMs", 1000}});
    const std::unique_ptr<QProcess> process = start(restoreVector("//", target()));
    const QString groupTarget = target() + source("/Private/Group");
    for (int i = 0; i < 500 && !QFileInfo::exists(groupTarget); ++i)
        QThread::msleep(10);
    EXPECT_EQ(folderState(target() + source("/Private")).mode, 0700u);
    EXPECT_EQ(folderState(target() + source("/Private/Group")).mode, 0700u);
    const Run result = collect(*process);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.errors.isEmpty()) << qPrintable(result.errors);
    expectFolderState(target() + source("/Private"), privateFolder);
    expectFolderState(target() + source("/Private/Group"), groupFolder);
    EXPECT_EQ(stored(target() + source("/Private/Group/b.txt")), "beta");

    // On many threads, a folder's times are set after every thread wrote below it.
    mScenarioPath.clear();
    const FolderState narrowed{0711, {1600000000, 5}};
    setFolderState(source("/Private"), narrowed);
    writeList({source("/Private/Group/b.txt"), source("/Private/a.txt")});
    ASSERT_EQ(run(backupVector()).exitCode, 0);
    writeList(lines);
    const QString second = root() + "/second";
    ASSERT_EQ(run(restoreVector("//", second)).exitCode, 0);
    expectFolderState(second + source("/Private"), narrowed);
    expectFolderState(second + source("/Private/Group"), groupFolder);

    // Two runs fill one folder (the client's list blocks): the later run,
    // which made a folder in it, gives it its time again.
    const QString third = root() + "/third";
    for (const QString &line : {lines[1], lines[0]}) {
        writeList({line});
        ASSERT_EQ(run(restoreVector("//", third)).exitCode, 0);
    }
    expectFolderState(third + source("/Private"), narrowed);
    expectFolderState(third + source("/Private/Group"), groupFolder);
}

TEST_F(RestoreTest, RestoresAnEarlierVersionByItsNumber)
{
    const QString line = backUp({{"/a.txt", "v1"}}).value(0);
    writeText(source("/a.txt"), "v2 is longer");
    run(backupVector());
    writeText(source("/a.txt"), "v3");
    QFile(source("/a.txt")).setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    run(backupVector());

    struct Case
    {
        QString suffix;
        QByteArray content;
    };
    const Case cases[] = {{"_QLVER001", "v1"}, {"_QLVER002", "v2 is longer"}, {"_QLVER003", "v3"}, {"", "v3"}};
    for (const Case &c : cases) {
        QDir(target()).removeRecursively();
        writeList({line + c.suffix});
        const Run result = run(restoreVector("//", target(), false));
        EXPECT_EQ(stored(target() + "/a.txt"), c.content) << qPrintable(c.suffix);
    }
    writeList({line + "_QLVER004"});
    EXPECT_TRUE(run(restoreVector("//", target(), false)).errors.contains("], : No such file or directory"));
}

TEST_F(RestoreTest, VersionRestoreVectorReadsBelowTheComputerFolder)
{
    const QString line = backUp({{"/a.txt", "old"}}).value(0);
    writeText(source("/a.txt"), "newer");
    run(backupVector());
    // The version restore's own vector: the computer folder as data root, a
    // remote "::home/<computer folder>/" and a line without the computer part.
    const QString o = operation();
    writeList({line.section('/', 2).prepend('/') + "_QLVER001"});
    const Run result = run({engine(),
                            "--no-relative",
                            "--add-progress",
                            "--xml-output",
                            "--encode",
                            "--enc-opt",
                            "--mask-name",
                            "--errlog-from=" + o + "/ErrorA",
                            "--temp=" + o,
                            "--port=443",
                            "--timeout=900",
                            "--proxy=",
                            "--password-file=" + o + "/password",
                            "--pvt-key=" + o + "/key",
                            "--o=" + o + "/OutData_0.txt",
                            "--e=" + o + "/ErrorData_0.txt",
                            "--portable",
                            "--portable-dest=" + drive(),
                            "--chk-cancel=" + o + "/intCancel",
                            "--files-from=" + o + "/SourceA",
                            "alice@10.0.0.1::home/" + drive() + "/",
                            target()});
    EXPECT_TRUE(result.errors.isEmpty()) << qPrintable(result.errors);
    EXPECT_EQ(result.lines().value(0).value("file_ver"), "1");
    EXPECT_EQ(stored(target() + "/a.txt"), "old");
}

TEST_F(RestoreTest, FindsItemsTheClientRenamedOnTheDrive)
{
    const QString line = backUp({{"/Docs/a.txt", "alpha"}}).value(0);
    writeText(source("/Docs/a.txt"), "alpha 2");
    run(backupVector());
    // What the client's rename does: the item with its marker, then its folder.
    const QString docs = drive() + source("/Docs");
    ASSERT_TRUE(QFile::rename(docs + "/a.txt", docs + "/renamed.txt"));
    ASSERT_TRUE(QFile::rename(docs + "/a.txt_.chk", docs + "/renamed.txt_.chk"));
    ASSERT_TRUE(QDir().rename(docs, drive() + source("/Papers")));

    writeList({line, line + "_QLVER001"});
    const Run result = run(restoreVector("//", target()));
    EXPECT_TRUE(result.errors.isEmpty()) << qPrintable(result.errors);
    ASSERT_EQ(result.lines().size(), 2);
    EXPECT_EQ(result.lines()[0]["fname"], source("/Papers/renamed.txt"));
    // The second line restored version 1 over the same target.
    EXPECT_EQ(stored(target() + source("/Papers/renamed.txt")), "alpha");
}

TEST_F(RestoreTest, UnknownItemsAndForeignRemotesAreRefused)
{
    const QString line = backUp({{"/a.txt", "a"}}).value(0);
    writeList({"/Office/nosuchfolder/612e747874", "/Office/" + line.section('/', 2, 2) + "/ffff", "garbage", line});
    const Run result = run(restoreVector("//", target()));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.errors.count("IOERROR: ["), 3) << qPrintable(result.errors);
    EXPECT_EQ(result.lines().size(), 1);

    QStringList outside = restoreVector("//", target());
    outside[outside.size() - 2] = "alice@10.0.0.1::home/somewhere/else";
    const Run refused = run(outside);
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_TRUE(refused.errors.startsWith("txruvo error: invalid path")) << qPrintable(refused.errors);
}

TEST_F(RestoreTest, AKilledRestoreLeavesNoTemporaryFilesInTheTarget)
{
    // Many small copies wait for their sync together; a large one is half done for a while.
    QList<QPair<QString, QByteArray>> files;
    for (int i = 0; i < 300; ++i)
        files << qMakePair(QStringLiteral("/Docs/f%1.txt").arg(i), QByteArray(64 + i, char('a' + i % 26)));
    files << qMakePair(QStringLiteral("/Docs/big.bin"), QByteArray(40 << 20, 'b'));
    writeList(backUp(files));
    const auto checkTarget = [&](const QString &when) {
        QDirIterator found(target(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (found.hasNext()) {
            const QString path = found.next();
            const QString local = path.mid(target().size());
            const auto original = std::find_if(files.cbegin(), files.cend(),
                                               [&](const auto &file) { return source(file.first) == local; });
            ASSERT_NE(original, files.cend()) << qPrintable(when) << ": left behind " << qPrintable(path);
            EXPECT_EQ(stored(path), original->second) << qPrintable(when) << ": torn " << qPrintable(path);
        }
    };
    for (int delayMs = 0; delayMs <= 150; delayMs += 10) {
        const std::unique_ptr<QProcess> process = start(restoreVector("//", target()));
        QThread::msleep(ulong(delayMs));
        process->kill();
        process->waitForFinished();
        checkTarget(QStringLiteral("killed after %1 ms").arg(delayMs));
    }
    const Run finished = run(restoreVector("//", target()));
    EXPECT_EQ(finished.exitCode, 0);
    EXPECT_EQ(finished.completed().size(), files.size());
    checkTarget(QStringLiteral("after a whole run"));
}

}  // namespace
