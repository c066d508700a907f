#include "engine/controllers/ControllerTestSupport.h"

#include "engine/controllers/RuvoDeleteController.h"
#include "engine/controllers/RuvoDeleteControllerDelegateProtocol.h"

#include <QDirIterator>
#include <QFileInfo>

#include <unistd.h>

namespace {

class DeleteRecorder : public RuvoDeleteControllerDelegateProtocol
{
public:
    void deleteDidStart(RuvoDeleteController *) override { log.add("start"); }
    void deleteDidReceiveData(const QString &path) override { deleted << path; }
    void deleteDidFinishSuccessfully(RuvoDeleteController *) override { log.add("finish"); }
    void deleteDidFailWithError(const QString &error, RuvoDeleteController *) override { log.add("fail: " + error); }
    void deleteDidReceiveErrors(const QString &error, const QString &path) override { failed << path + ":" + error; }
    void deleteDidCancel(RuvoDeleteController *) override { log.add("cancel"); }

    CallbackLog log;
    QStringList deleted;
    QStringList failed;
};

// Short waits: no pause between parsed lines and a short index open wait.
RuvoDeleteTimings shortTimings(IndexTimings index)
{
    RuvoDeleteTimings timings;
    timings.linePause = std::chrono::milliseconds(0);
    timings.runner.outputPause = std::chrono::milliseconds(0);
    timings.runner.errorPause = std::chrono::milliseconds(0);
    timings.index = index;
    return timings;
}

// Files backed up by the stand-in engine onto the drive, with their records in
// the account's main index, as the destination browser would delete them.
class DeleteControllerTest : public IndexReaderFixture
{
protected:
    void SetUp() override
    {
        IndexReaderFixture::SetUp();
        qputenv("TXRUVO_ARGV_LOG", (root() + "/argv.log").toUtf8());
        mSavedTemporary = qgetenv("TMPDIR");
        QDir().mkpath(temporary());
        qputenv("TMPDIR", temporary().toUtf8());
        // d1 holds two files, d2 one; "top" holds three more; a.txt gets an earlier version.
        for (const QString path : {"d1/a.txt", "d1/b b.txt", "d2/c$\"].txt", "top/x.png", "top/y.txt", "top/z.txt"})
            writeText(local(path), path.toUtf8());
        backUp();
        writeText(local("d1/a.txt"), "changed");
        backUp();
        // The image's thumbnails, which the client uploads beside it.
        for (const QString suffix : {"_THINT", "_THSML", "_THTIN"}) {
            writeText(stored("top/x.png") + suffix, "thumb");
            writeText(stored("top/x.png") + suffix + "_.chk", "marker");
        }
        writeJournal(mRows.values());
        ASSERT_TRUE(mergeJournals());
    }

    void TearDown() override
    {
        qunsetenv("TXRUVO_ARGV_LOG");
        qunsetenv("TXRUVO_SCENARIO");
        if (mSavedTemporary.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", mSavedTemporary);
        IndexReaderFixture::TearDown();
    }

    QString temporary() const { return root() + "/tmp"; }
    QString dataRoot() const { return volumes() + "/Drive/TarnixVidezud/ann"; }
    QString computerFolder() const { return dataRoot() + "/Office"; }
    QString local(const QString &path = QString()) const { return root() + "/local/" + path; }
    QString stored(const QString &path) const { return computerFolder() + local(path); }

    // One backup run of every local file; keeps each file's index record.
    void backUp()
    {
        QStringList files;
        QDirIterator walk(local(), QDir::Files, QDirIterator::Subdirectories);
        while (walk.hasNext())
            files << walk.next();
        for (const StandInRecord &record : backUpWithStandIn(root() + "/operation", computerFolder(), files))
            mRows.insert(record.path, {record.path, "INSERT", 10, 1, record.encName, record.folderId});
    }

    User deleter() const
    {
        User user = account();
        user.setMEncodedPassword("secret");
        user.setMEncodedKey("key");
        user.setRuvoServerIP("10.0.0.1");
        user.setPort("--port=443");
        return user;
    }

    void startDelete(DeleteRecorder &recorder, RuvoDeleteController &controller, const QStringList &folders,
                     const QList<QVariantMap> &files)
    {
        controller.userInfo() = deleter();
        controller.setExecutorPath(QLLocalizedString("ExecuterPathRuvo"));
        controller.setDestinationPath(dataRoot());
        controller.setDelegate(&recorder);
        controller.setMFolderSetFordelete(folders);
        controller.setMFileSetForDelete(files);
        controller.startDelete();
    }

    // Deletes the selection; waits for `callbacks` callbacks (start included). A delete is two
    // index searches and one engine run per set, one after another: the wait allows a minute, as
    // a loaded machine or the sanitizer build takes several seconds for each.
    void runDelete(DeleteRecorder &recorder, RuvoDeleteController &controller, const QStringList &folders,
                   const QList<QVariantMap> &files, qsizetype callbacks = 2)
    {
        startDelete(recorder, controller, folders, files);
        EXPECT_TRUE(recorder.log.waitFor(callbacks, 60000)) << recorder.log.entries().join(", ").toStdString();
        spinFor(50);
    }

    int deleteRuns() const { return int(QString::fromUtf8(readText(root() + "/argv.log")).count("--delete-items")); }

    // The list files the delete runs were given, in run order.
    QStringList listFiles() const
    {
        static const QRegularExpression listArgument("\"--files-from=([^\"]+)\"");
        QStringList paths;
        for (const QString &run : QString::fromUtf8(readText(root() + "/argv.log")).split('\n')) {
            if (run.contains("--delete-items"))
                paths << listArgument.match(run).captured(1);
        }
        return paths;
    }

    void setScenario(const QVariantMap &scenario)
    {
        ASSERT_TRUE(PropertyList::write(root() + "/scenario.plist", scenario));
        qputenv("TXRUVO_SCENARIO", (root() + "/scenario.plist").toUtf8());
    }

    QMap<QString, JournalRow> mRows;
    QByteArray mSavedTemporary;
};

TEST_F(DeleteControllerTest, TwoFoldersAndThreeFileEntriesGiveFiveRunsAndOneFinish)
{
    DeleteRecorder recorder;
    RuvoDeleteController controller(shortTimings(timings()));
    runDelete(recorder, controller, {local("d1"), local("d2")},
              {{{local("top"), QStringList{"x.png"}}},
               {{local("top"), QStringList{"y.txt"}}},
               {{local("top"), QStringList{"z.txt"}}}});
    EXPECT_EQ(recorder.log.entries(), QStringList({"start (main)", "finish (main)"}));
    EXPECT_EQ(deleteRuns(), 5);
    recorder.deleted.sort();
    QStringList expected = mRows.keys();
    expected.sort();
    EXPECT_EQ(recorder.deleted, expected);
    EXPECT_TRUE(recorder.failed.isEmpty()) << recorder.failed.join(", ").toStdString();
    EXPECT_FALSE(controller.isRunning());
    // Nothing of the items is left: no item, marker, thumbnail or version; no list file either.
    QStringList left;
    QDirIterator walk(computerFolder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        const QString path = walk.next();
        if (!path.endsWith(".txruvo-folder_.chk") && !path.contains("/.txruvo-tmp/"))
            left << path;
    }
    EXPECT_TRUE(left.isEmpty()) << left.join(", ").toStdString();
    ASSERT_EQ(listFiles().size(), 5);
    for (const QString &list : listFiles())
        EXPECT_FALSE(QFileInfo::exists(QFileInfo(list).absolutePath())) << list.toStdString();
}

TEST_F(DeleteControllerTest, TheListOfARunLiesInAFolderOfThisUserAlone)
{
    setScenario({{"stopMode", "hang"}, {"stopAfterFiles", 0}});
    DeleteRecorder recorder;
    RuvoDeleteController controller(shortTimings(timings()));
    startDelete(recorder, controller, {}, {{{local("top"), QStringList{"y.txt"}}}});
    ASSERT_TRUE(waitUntil([&] { return deleteRuns() == 1; }));
    const QString list = listFiles().value(0);
    const QFileInfo folder(QFileInfo(list).absolutePath());
    EXPECT_TRUE(QFileInfo(list).isFile()) << list.toStdString();
    EXPECT_NE(folder.absoluteFilePath(), QFileInfo(temporary()).absoluteFilePath());
    EXPECT_EQ(folder.ownerId(), ::geteuid());
    EXPECT_EQ(folder.permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser | QFile::ReadOwner |
                                       QFile::WriteOwner | QFile::ExeOwner),
              QFile::Permissions());
    controller.cancelDelete();
    EXPECT_TRUE(recorder.log.waitFor(2));
    EXPECT_FALSE(QFileInfo::exists(folder.absoluteFilePath())) << folder.absoluteFilePath().toStdString();
}

TEST_F(DeleteControllerTest, PerItemErrorsAndMissingItems)
{
    // y.txt is gone from the drive already; the engine cannot delete z.txt.
    QFile::remove(stored("top/y.txt"));
    const JournalRow z = mRows.value(local("top/z.txt"));
    setScenario({{"failFiles", QVariantMap{{"/" + z.folderId + "/" + z.encName, "Permission denied"}}}});
    DeleteRecorder recorder;
    RuvoDeleteController controller(shortTimings(timings()));
    runDelete(recorder, controller, {}, {{{local("top"), QStringList{"y.txt", "z.txt"}}}});
    EXPECT_EQ(recorder.log.entries(), QStringList({"start (main)", "finish (main)"}));
    // A missing item counts as deleted. The engine names both by their list lines; they are
    // reported by the paths the index knows them by.
    EXPECT_EQ(recorder.deleted, QStringList{local("top/y.txt")});
    EXPECT_EQ(recorder.failed, QStringList{local("top/z.txt") + ": Permission denied"});
    EXPECT_TRUE(QFile::exists(stored("top/z.txt")));
}

TEST_F(DeleteControllerTest, EngineErrorsEndTheSetByTheirText)
{
    const QList<QPair<QString, QString>> cases = {
        {"txruvo error: account is under maintenance", "Your account is under maintenance. Try later."},
        {"Unable to perform the delete operation. Reason: Data upload is in progress for this account. Try later",
         "Unable to perform the delete operation. Reason: Data upload is in progress for this account. Try later"},
        {"cannot remove x.png_THVID", ""},
        {"txruvo error: device is not connected", "Unable to perform the delete operation."},
    };
    for (const auto &[errorText, reported] : cases) {
        SCOPED_TRACE(errorText.toStdString());
        setScenario({{"errorText", errorText}});
        DeleteRecorder recorder;
        RuvoDeleteController controller(shortTimings(timings()));
        runDelete(recorder, controller, {}, {{{local("top"), QStringList{"x.png"}}}});
        EXPECT_EQ(recorder.log.entries(), QStringList({"start (main)", "fail: " + reported + " (main)"}));
        EXPECT_FALSE(controller.isRunning());
    }
}

TEST_F(DeleteControllerTest, ACancelStopsTheRunAndNoFurtherSetRuns)
{
    setScenario({{"stopMode", "hang"}, {"stopAfterFiles", 0}});
    DeleteRecorder recorder;
    RuvoDeleteController controller(shortTimings(timings()));
    startDelete(recorder, controller, {local("d1"), local("d2")}, {{{local("top"), QStringList{"y.txt"}}}});
    ASSERT_TRUE(waitUntil([&] { return deleteRuns() == 1; }));
    controller.cancelDelete();
    EXPECT_TRUE(recorder.log.waitFor(2));
    spinFor(200);
    EXPECT_EQ(recorder.log.entries(), QStringList({"start (main)", "cancel (main)"}));
    EXPECT_EQ(deleteRuns(), 1);
    EXPECT_FALSE(controller.isRunning());
    EXPECT_TRUE(QFile::exists(stored("d2/c$\"].txt")));
    // The controller serves the next operation. Its item was not part of the cancelled one: the
    // folder and file searches race, so the hanging run may have removed d1's or y.txt's first item.
    qunsetenv("TXRUVO_SCENARIO");
    DeleteRecorder next;
    runDelete(next, controller, {}, {{{local("top"), QStringList{"z.txt"}}}});
    EXPECT_EQ(next.log.entries(), QStringList({"start (main)", "finish (main)"}));
    EXPECT_EQ(next.deleted, QStringList{local("top/z.txt")});
}

TEST_F(DeleteControllerTest, AnIndexThatCannotBeSearchedFailsEachEntryAndEndsTheDelete)
{
    spoilIndex();
    DeleteRecorder recorder;
    RuvoDeleteController controller(shortTimings(timings()));
    runDelete(recorder, controller, {local("d1"), local("d2")}, {{{local("top"), QStringList{"y.txt"}}}}, 4);
    const QStringList entries = recorder.log.entries();
    ASSERT_EQ(entries.size(), 4) << entries.join(", ").toStdString();
    EXPECT_EQ(entries.first(), "start (main)");
    for (const QString &entry : entries.mid(1))
        EXPECT_TRUE(entry.startsWith("fail: unable to open database")) << entry.toStdString();
    EXPECT_FALSE(controller.isRunning()) << "a delete that waits for ever refuses every later one";
    EXPECT_EQ(deleteRuns(), 0);
    EXPECT_TRUE(QFile::exists(stored("top/y.txt")));
}

TEST_F(DeleteControllerTest, ASelectionWithNothingStoredRunsNoEngine)
{
    DeleteRecorder recorder;
    RuvoDeleteController controller(shortTimings(timings()));
    runDelete(recorder, controller, {local("nowhere")}, {{{local("top"), QStringList{"never.txt"}}}});
    EXPECT_EQ(recorder.log.entries(), QStringList({"start (main)", "finish (main)"}));
    EXPECT_EQ(deleteRuns(), 0);
}

}  // namespace
