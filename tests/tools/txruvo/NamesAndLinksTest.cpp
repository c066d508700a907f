#include "EngineHarness.h"

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
    const QStringList names = {"/Docs/a.txt", "/Docs/a.txt_.chk", "/Docs/.txruvo-folder_.chk",
                               "/Docs/.txruvo-1-2.part", "/Docs/pic.jpg", "/Docs/pic.jpg_THINT",
                               "/Docs/pic.jpg_thsml_.CHK", "/Docs/x_.usr", "/Docs/x_.usr_.usr",
                               "/Docs/sub_.chk/b.txt", "/Docs/.txruvo-tmp/c.txt"};
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
    EXPECT_EQ(restoredOut.symLinkTarget(), QFileInfo(target() + source("/Docs") + '/' + outsideTarget).absoluteFilePath());
    EXPECT_EQ(QFile(root() + "/outside/secret.txt").size(), 6);
}

}  // namespace
