#include "engine/controllers/ControllerTestSupport.h"

#include "engine/controllers/TXRenameController.h"
#include "engine/controllers/TXRenameControllerDelegateProtocol.h"

#include <QDirIterator>

namespace {

class RenameRecorder : public TXRenameControllerDelegateProtocol
{
public:
    void renameDidReceiveData(const QString &oldPath, const QString &newPath) override
    {
        log.add("data " + oldPath + " -> " + newPath);
    }
    void renameDiDFinish(TXRenameController *) override { log.add("finish"); }
    void renameDidFailWithError(const QString &error, TXRenameController *, const QString &path) override
    {
        log.add("fail " + path + ": " + error);
    }

    CallbackLog log;
};

// A drive with the data root of "ann" holding stored items with their
// companions, and the items' records in the main index.
class RenameControllerTest : public IndexReaderFixture
{
protected:
    void SetUp() override
    {
        IndexReaderFixture::SetUp();
        addFiles({"/Office/pics/p \"$'.png", "/Office/pics/keep.png", "/Office/docs/n.txt"});
    }

    QString drive() const { return volumes() + "/Drive/"; }
    QString dataRoot() const { return drive() + "TarnixVidezud/ann"; }
    QString versions() const { return dataRoot() + "/Office/ann.ver"; }

    // Every file below the data root, relative to it, sorted.
    QStringList driveFiles() const
    {
        QStringList files;
        QDirIterator walk(dataRoot(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (walk.hasNext())
            files << walk.next().mid(dataRoot().size());
        files.sort();
        return files;
    }

    // Stores a file with its marker, thumbnails and versions as a backup leaves them.
    void storeFile(const QString &path, const QStringList &thumbnails, int versionCount)
    {
        writeText(dataRoot() + path, "item");
        writeText(dataRoot() + path + "_.chk", "marker");
        for (const QString &suffix : thumbnails) {
            writeText(dataRoot() + path + suffix, "thumb");
            writeText(dataRoot() + path + suffix + "_.chk", "marker");
        }
        const QString versionPath = versions() + path.mid(QString("/Office").size());
        for (int version = 1; version <= versionCount; ++version) {
            const QString number = QString::asprintf(".qlvn%03d", version);
            writeText(versionPath + number, "old");
            writeText(versionPath + "_.chk" + number, "old marker");
        }
    }

    void rename(RenameRecorder &recorder, const QList<QVariantMap> &items, qsizetype callbacks,
                const QString &computerFolder = QString())
    {
        TXRenameController controller(timings());
        controller.userInfo() = account();
        controller.setDestinationDrive(drive());
        controller.setComputerFolder(computerFolder);
        controller.setDelegate(&recorder);
        controller.startRenameWithPaths(items);
        EXPECT_TRUE(recorder.log.waitFor(callbacks)) << recorder.log.entries().join(", ").toStdString();
        spinFor(50);
    }

    static QVariantMap item(const QString &from, const QString &to)
    {
        return {{"OriginalPath", from}, {"RenamedPath", to}};
    }
};

TEST_F(RenameControllerTest, AnImageMovesWithItsMarkerThumbnailsAndEveryVersion)
{
    storeFile("/Office/pics/p \"$'.png", {"_THINT", "_THSML", "_THTIN"}, 3);
    storeFile("/Office/pics/keep.png", {"_THINT", "_THSML", "_THTIN"}, 1);
    const QStringList before = driveFiles();
    RenameRecorder recorder;
    rename(recorder, {item("/Office/pics/p \"$'.png", "/Office/pics/q $\".png")}, 2);
    EXPECT_EQ(recorder.log.entries(),
              QStringList({"data /Office/pics/p \"$'.png -> /Office/pics/q $\".png (main)", "finish (main)"}));
    QStringList expected;
    for (QString path : before)
        expected << path.replace("p \"$'.png", "q $\".png");
    expected.sort();
    EXPECT_EQ(driveFiles(), expected);
    QStringList rows;
    for (QString row : fileRows())
        rows << row.remove('\'');
    rows.sort();
    EXPECT_EQ(rows, QStringList({"/Office/docs/n.txt", "/Office/pics/keep.png", "/Office/pics/q $\".png"}));
}

TEST_F(RenameControllerTest, ThumbnailsByKindAndFoldersMoveAlone)
{
    const QList<QPair<QString, int>> cases = {{"clip.MOV", 4}, {"pic.jpeg", 3}, {"notes.txt", 0}};
    for (const auto &[name, thumbnails] : cases) {
        SCOPED_TRACE(name.toStdString());
        const QStringList all = {"_THINT", "_THSML", "_THTIN", "_THVID"};
        storeFile("/Office/media/" + name, all, 0);
        addFiles({"/Office/media/" + name});
        RenameRecorder recorder;
        rename(recorder, {item("/Office/media/" + name, "/Office/media/new-" + name)}, 2);
        int moved = 0;
        for (const QString &suffix : all)
            moved += QFile::exists(dataRoot() + "/Office/media/new-" + name + suffix) ? 1 : 0;
        EXPECT_EQ(moved, thumbnails);
    }
    // A folder moves alone, with everything in it, and its records follow.
    storeFile("/Office/pics/keep.png", {"_THINT"}, 1);
    const QStringList before = driveFiles();
    RenameRecorder recorder;
    rename(recorder, {item("/Office/pics", "/Office/photos")}, 2);
    EXPECT_EQ(recorder.log.entries().value(1), "finish (main)");
    QStringList expected;
    for (QString path : before)
        expected << path.replace("/Office/pics/", "/Office/photos/");
    expected.sort();
    EXPECT_EQ(driveFiles(), expected);
    EXPECT_TRUE(fileRows().contains("'/Office/photos/''keep.png'")) << fileRows().join(", ").toStdString();
}

TEST_F(RenameControllerTest, AnIndexKeptWithoutComputerFoldersRenamesBelowTheComputerFolderOnTheDrive)
{
    addFiles({"/notes/n.txt"});
    storeFile("/Office/notes/n.txt", {}, 2);
    RenameRecorder recorder;
    rename(recorder, {item("/notes/n.txt", "/notes/m.txt")}, 2, "/Office");
    EXPECT_EQ(recorder.log.entries().value(0), "data /notes/n.txt -> /notes/m.txt (main)");
    EXPECT_TRUE(QFile::exists(dataRoot() + "/Office/notes/m.txt"));
    EXPECT_TRUE(QFile::exists(dataRoot() + "/Office/notes/m.txt_.chk"));
    EXPECT_TRUE(QFile::exists(versions() + "/notes/m.txt.qlvn002"));
    EXPECT_FALSE(QFile::exists(dataRoot() + "/Office/notes/n.txt"));
    EXPECT_TRUE(fileRows().contains("'/notes/''m.txt'")) << fileRows().join(", ").toStdString();
    // An item the index names with the computer folder keeps its path as it stands.
    storeFile("/Office/pics/keep.png", {}, 0);
    RenameRecorder again;
    rename(again, {item("/Office/pics/keep.png", "/Office/pics/kept.png")}, 2, "/Office");
    EXPECT_TRUE(QFile::exists(dataRoot() + "/Office/pics/kept.png"));
}

TEST_F(RenameControllerTest, AnExistingDestinationIsNeverReplaced)
{
    storeFile("/Office/pics/p \"$'.png", {}, 1);
    storeFile("/Office/pics/keep.png", {}, 1);
    const QStringList before = driveFiles();
    RenameRecorder recorder;
    rename(recorder,
           {item("/Office/pics/p \"$'.png", "/Office/pics/keep.png"), item("/Office/docs/n.txt", "/Office/docs/m.txt")},
           1);
    EXPECT_EQ(recorder.log.entries(),
              QStringList{"fail " + dataRoot() + "/Office/pics/p \"$'.png: File exists (main)"});
    // Both stay as they were, and the batch ended there.
    EXPECT_EQ(driveFiles(), before);
    EXPECT_EQ(readText(dataRoot() + "/Office/pics/keep.png"), "item");
}

TEST_F(RenameControllerTest, IndexFailuresAreReportedPerItem)
{
    storeFile("/Office/docs/n.txt", {}, 0);
    spoilIndex();
    RenameRecorder recorder;
    rename(recorder, {item("/Office/docs/n.txt", "/Office/docs/m.txt")}, 1);
    EXPECT_EQ(recorder.log.entries(), QStringList{"fail /Office/docs/n.txt: Database update failed (main)"});
    EXPECT_TRUE(QFile::exists(dataRoot() + "/Office/docs/m.txt"));
}

TEST_F(RenameControllerTest, NothingMovesWithoutAnIndexUser)
{
    storeFile("/Office/docs/n.txt", {}, 0);
    enterSyncModeWithoutSyncUser();
    const QStringList before = driveFiles();
    RenameRecorder recorder;
    rename(recorder, {item("/Office/docs/n.txt", "/Office/docs/m.txt")}, 1);
    ASSERT_EQ(recorder.log.size(), 1);
    EXPECT_TRUE(recorder.log.entries().first().startsWith("fail ")) << recorder.log.entries().first().toStdString();
    EXPECT_EQ(driveFiles(), before);
}

}  // namespace
