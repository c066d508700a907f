#include "EngineHarness.h"

#include "txruvo/Posix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Backs local files up and restores them by the identifiers the backup reported.
class NamesAndLinksTest : public EngineHarness
{
protected:
    // Backs the local paths up; answers each one's restore line "/Office/<folder id>/<enc name>".
    QStringList backUp(const QStringList &paths)
    {
        QStringList list;
        for (const QString &path : paths)
            list << source(path);
        writeList(list);
        const Run result = run(backupVector());
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_TRUE(result.errors.isEmpty()) << qPrintable(result.errors);
        mLastBackup = result;
        QStringList restoreLines;
        for (const QString &path : list) {
            const auto line = result.completed().value(path);
            EXPECT_FALSE(line.isEmpty()) << qPrintable(path);
            restoreLines << line["mpc"] + '/' + line["folder_id"] + '/' + line["enc_name"];
        }
        return restoreLines;
    }

    QString target() const { return root() + "/restored"; }

    Run mLastBackup;
};

TEST_F(NamesAndLinksTest, UserFilesNamedLikeBookkeepingAreKeptApartFromIt)
{
    // A folder holding a copy of a backup drive's data: items beside files
    // named like markers, the engine's own files and thumbnails.
    const QStringList names = {
        "/Docs/a.txt",       "/Docs/a.txt_.chk",     "/Docs/.txruvo-folder_.chk", "/Docs/.txruvo-1-2.part",
        "/Docs/pic.jpg",     "/Docs/pic.jpg_THINT",  "/Docs/pic.jpg_thsml_.CHK",  "/Docs/x_.usr",
        "/Docs/x_.usr_.usr", "/Docs/sub_.chk/b.txt", "/Docs/.txruvo-tmp/c.txt"};
    for (const QString &name : names)
        writeText(source(name), "content of " + name.toUtf8());
    const QStringList lines = backUp(names);
    for (const QString &name : names)
        EXPECT_EQ(mLastBackup.completed()[source(name)]["trf_type"], "FULL") << qPrintable(name);
    // The engine's own marker of a.txt is still its marker, and a.txt itself untouched.
    EXPECT_TRUE(stored(drive() + source("/Docs/a.txt_.chk")).startsWith("enc_name="));
    EXPECT_EQ(stored(drive() + source("/Docs/a.txt")), "content of /Docs/a.txt");

    const Run again = run(backupVector());
    EXPECT_TRUE(again.errors.isEmpty()) << qPrintable(again.errors);
    ASSERT_EQ(again.completed().size(), names.size());
    for (const QString &name : names)
        EXPECT_EQ(again.completed()[source(name)]["trf_type"], "FILE IN SYNC") << qPrintable(name);

    writeList(lines);
    const Run restored = run(restoreVector("//", target()));
    EXPECT_TRUE(restored.errors.isEmpty()) << qPrintable(restored.errors);
    ASSERT_EQ(restored.completed().size(), names.size());
    for (const QString &name : names) {
        EXPECT_EQ(stored(target() + source(name)), "content of " + name.toUtf8()) << qPrintable(name);
        EXPECT_TRUE(restored.completed().contains(source(name))) << qPrintable(name);
    }
}

// A name of the longest length a file system allows leaves no room for the
// marker's or a version's suffix: such names get shortened bookkeeping names
// (the hash of the whole name tells two alike apart), so the item can be
// updated, versioned and restored like any other.
TEST_F(NamesAndLinksTest, NamesOfTheLongestLengthCanBeUpdatedVersionedAndRestored)
{
    const QString longAscii = "/Long/" + QString(247, 'a') + "-one.txt";  // 255 bytes
    const QString twin = "/Long/" + QString(247, 'a') + "-two.txt";       // alike but for its end
    const QString wide = "/Long/" + QString(125, QChar(0xe9)) + "x.txt";  // 255 bytes, two per letter
    const QStringList names = {longAscii, twin, wide};
    for (const QString &name : names)
        ASSERT_EQ(Posix::native(Posix::fileName(name)).size(), 255) << qPrintable(name);

    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        for (const QString &name : names)
            writeText(source(name), QByteArray::number(round) + name.right(7).toUtf8() + QByteArray(round, '+'));
        const QStringList lines = backUp(names);
        for (const QString &name : names) {
            const auto line = mLastBackup.completed()[source(name)];
            EXPECT_EQ(line["trf_type"], round == 1 ? "FULL" : "INCREMENTAL") << qPrintable(name);
            EXPECT_EQ(line["file_ver"], QString::number(round)) << qPrintable(name);
        }
        if (round < 3)
            continue;
        // Each earlier version restores the content it had.
        QStringList versionLines;
        for (const QString &line : lines)
            versionLines << line + "_QLVER001";
        writeList(versionLines);
        const Run restored = run(restoreVector("//", target(), false));
        EXPECT_TRUE(restored.errors.isEmpty()) << qPrintable(restored.errors);
        for (const QString &name : names)
            EXPECT_EQ(stored(target() + '/' + Posix::fileName(name)), "1" + name.right(7).toUtf8() + "+")
                << qPrintable(name);
    }
    // Unchanged, every one is in sync: its marker is found where it was written.
    QStringList sources;
    for (const QString &name : names)
        sources << source(name);
    writeList(sources);
    const Run again = run(backupVector());
    EXPECT_TRUE(again.errors.isEmpty()) << qPrintable(again.errors);
    for (const QString &name : names)
        EXPECT_EQ(again.completed()[source(name)]["trf_type"], "FILE IN SYNC") << qPrintable(name);
}

TEST_F(NamesAndLinksTest, LinksAreStoredAndRestoredAsLinksNeverFollowed)
{
    writeText(root() + "/outside/secret.txt", "secret");
    QDir().mkpath(source("/Docs"));
    const QString outsideTarget = "../../outside/secret.txt";
    ASSERT_TRUE(QFile::link(outsideTarget, source("/Docs/out")));
    ASSERT_TRUE(QFile::link("nowhere", source("/Docs/dangling")));
    const QStringList lines = backUp({"/Docs/out", "/Docs/dangling"});
    const auto out = mLastBackup.completed()[source("/Docs/out")];
    EXPECT_EQ(out["size"], QString::number(outsideTarget.size()));
    EXPECT_EQ(QFileInfo(drive() + source("/Docs/out")).symLinkTarget(),
              QFileInfo(drive() + source("/Docs") + '/' + outsideTarget).absoluteFilePath());
    EXPECT_TRUE(QFileInfo(drive() + source("/Docs/dangling")).isSymLink());

    EXPECT_EQ(run(backupVector()).completed()[source("/Docs/out")]["trf_type"], "FILE IN SYNC");
    // A link pointed elsewhere is a change; the old link becomes version 1.
    QFile::remove(source("/Docs/out"));
    ASSERT_TRUE(QFile::link("elsewhere", source("/Docs/out")));
    const Run changed = run(backupVector());
    EXPECT_EQ(changed.completed()[source("/Docs/out")]["trf_type"], "INCREMENTAL");
    EXPECT_EQ(changed.completed()[source("/Docs/out")]["file_ver"], "2");

    writeList({lines[0], lines[1], lines[0] + "_QLVER001"});
    const Run restored = run(restoreVector("//", target()));
    EXPECT_TRUE(restored.errors.isEmpty()) << qPrintable(restored.errors);
    ASSERT_EQ(restored.lines().size(), 3);
    EXPECT_EQ(QFile::symLinkTarget(target() + source("/Docs/dangling")), target() + source("/Docs/nowhere"));
    // The version restore came last: the link as it was first.
    const QFileInfo restoredOut(target() + source("/Docs/out"));
    EXPECT_TRUE(restoredOut.isSymLink());
    EXPECT_EQ(restoredOut.symLinkTarget(),
              QFileInfo(target() + source("/Docs") + '/' + outsideTarget).absoluteFilePath());
    EXPECT_EQ(QFile(root() + "/outside/secret.txt").size(), 6);
}

}  // namespace
