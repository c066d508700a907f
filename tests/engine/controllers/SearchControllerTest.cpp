#include "engine/controllers/ControllerTestSupport.h"

#include "engine/controllers/ControllerTexts.h"
#include "engine/controllers/RuvoSearchController.h"
#include "engine/controllers/RuvoSearchControllerDelegateProtocol.h"

#include <QSet>

#include <functional>
#include <memory>

namespace {

class SearchRecorder : public RuvoSearchControllerDelegateProtocol
{
public:
    void searchDidStart(RuvoSearchController *) override { log.add("start"); }
    void searchDidReceiveData(const IndexEntries &received, RuvoSearchController *search) override
    {
        {
            QMutexLocker lock(&mLock);
            rows += received;
        }
        log.add(QStringLiteral("data %1").arg(received.size()));
        if (onData)
            onData(search);
    }
    void searchDidFinishSuccessfully(RuvoSearchController *search) override
    {
        log.add("finish");
        if (onFinish)
            onFinish(search);
    }
    void searchDidFailWithError(const QString &error, RuvoSearchController *) override { log.add("fail: " + error); }
    void searchDidCancel(RuvoSearchController *) override { log.add("cancel"); }

    // One field of every row received, sorted.
    QStringList field(QString IndexEntry::*member) const
    {
        QMutexLocker lock(&mLock);
        QStringList values;
        for (const IndexEntry &row : rows)
            values << row.*member;
        values.sort();
        return values;
    }

    // Every row received, in order.
    IndexEntries received() const
    {
        QMutexLocker lock(&mLock);
        return rows;
    }

    CallbackLog log;
    std::function<void(RuvoSearchController *)> onData;
    std::function<void(RuvoSearchController *)> onFinish;

private:
    mutable QMutex mLock;
    IndexEntries rows;
};

class SearchControllerTest : public IndexReaderFixture
{
protected:
    void SetUp() override
    {
        IndexReaderFixture::SetUp();
        QList<JournalRow> rows;
        for (const QString path : {"/Office/Users/ann/a.txt", "/Office/Users/ann/photo.jpg",
                                   "/Office/Users/ann/sub/b.txt", "/Office/Users/bob/c.doc"})
            rows.append({path, "INSERT", 100, 1, QFileInfo(path).completeBaseName()});
        writeJournal(rows);
        ASSERT_TRUE(mergeJournals());
        search = std::make_unique<RuvoSearchController>(timings());
        search->setUser(account());
        search->setDelegate(&recorder);
    }

    SearchRecorder recorder;
    std::unique_ptr<RuvoSearchController> search;
};

TEST_F(SearchControllerTest, EachKindOfSearchReportsItsRowsFromTheWorkerThread)
{
    struct Case
    {
        const char *name;
        std::function<void(RuvoSearchController &)> start;
        QString IndexEntry::*field;
        QStringList found;
    };
    const Case cases[] = {
        {"asterisk in the key",
         [](RuvoSearchController &s) {
             s.setSearchKey("*.txt");
             s.startSearch();
         },
         &IndexEntry::fileName,
         {"/Office/Users/ann/a.txt", "/Office/Users/ann/sub/b.txt"}},
        {"key below a root",
         [](RuvoSearchController &s) {
             s.setPathRoot("/Office/Users/ann");
             s.setSearchKey("p*o");
             s.startSearch();
         },
         &IndexEntry::fileName,
         {"/Office/Users/ann/photo.jpg"}},
        {"no match",
         [](RuvoSearchController &s) {
             s.setSearchKey("ghost");
             s.startSearch();
         },
         &IndexEntry::fileName,
         {}},
        {"inside a folder",
         [](RuvoSearchController &s) {
             s.setPathRoot("/Office/Users/ann");
             s.setOpType(RuvoSearchController::InsideFolder);
             s.startSearch();
         },
         &IndexEntry::encFilename,
         {"a", "b", "photo"}},
        {"one path",
         [](RuvoSearchController &s) {
             s.setPathRoot("Office/Users/ann/a.txt");
             s.setOpType(RuvoSearchController::ForPath);
             s.startSearch();
         },
         &IndexEntry::encFilename,
         {"a"}},
        {"named files of a folder",
         [](RuvoSearchController &s) {
             s.setOpType(RuvoSearchController::ForPath);
             s.startSearchForFiles({{"Office/Users/ann", QStringList{"a.txt", "photo.jpg", "a.txt", "ghost.txt"}}});
         },
         &IndexEntry::encFilename,
         {"a", "photo"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SearchRecorder caseRecorder;
        RuvoSearchController caseSearch(timings());
        caseSearch.setUser(account());
        caseSearch.setDelegate(&caseRecorder);
        c.start(caseSearch);
        EXPECT_TRUE(caseSearch.isRunning());
        ASSERT_TRUE(caseRecorder.log.waitFor(3));
        spinFor(50);
        EXPECT_EQ(caseRecorder.log.entries(),
                  QStringList({"start (main)", QStringLiteral("data %1").arg(c.found.size()), "finish"}));
        EXPECT_EQ(caseRecorder.field(c.field), c.found);
        EXPECT_FALSE(caseSearch.isRunning());
        EXPECT_EQ(caseSearch.fileList().size(), c.found.size());
    }
}

TEST(SearchKeyTest, TheKeyKeepsEveryAsteriskAsAPercentSign)
{
    RuvoSearchController search;
    search.setSearchKey("*a**b*");
    EXPECT_EQ(search.searchKey(), "%a%%b%");
    search.setSearchKey("plain");
    EXPECT_EQ(search.searchKey(), "plain");
}

TEST_F(SearchControllerTest, ASearchStartedFromItsOwnFinishRunsAndTheRowsAccumulate)
{
    // As the restore and the delete walk their folders: the next one is
    // searched from the finish of the one before, on the worker thread.
    QStringList folders{"/Office/Users/bob"};
    recorder.onFinish = [&folders](RuvoSearchController *s) {
        if (folders.isEmpty())
            return;
        s->setPathRoot(folders.takeFirst());
        s->startSearch();
    };
    search->setPathRoot("/Office/Users/ann");
    search->setOpType(RuvoSearchController::InsideFolder);
    search->startSearch();
    ASSERT_TRUE(recorder.log.waitFor(6));
    spinFor(50);
    EXPECT_EQ(recorder.log.entries(), QStringList({"start (main)", "data 3", "finish", "start", "data 1", "finish"}));
    EXPECT_EQ(search->fileList().size(), 4);
}

TEST_F(SearchControllerTest, ACancelledSearchReportsOnlyItsCancelAndARestartedOneOnlyItsOwnEnd)
{
    // Opening the index waits, so the cancel comes first.
    search = std::make_unique<RuvoSearchController>(timings(std::chrono::milliseconds(200)));
    search->setUser(account());
    search->setDelegate(&recorder);
    search->setSearchKey("a");
    search->startSearch();
    search->cancelSearch();
    EXPECT_FALSE(search->isRunning());
    ASSERT_TRUE(recorder.log.waitFor(2));
    spinFor(100);
    EXPECT_EQ(recorder.log.entries(), QStringList({"start (main)", "cancel"}));
    EXPECT_TRUE(search->fileList().isEmpty());

    // Cancelled and started again: the first run reports nothing more.
    SearchRecorder second;
    search->setDelegate(&second);
    search->startSearch();
    search->cancelSearch();
    search->setSearchKey("c.doc");
    search->startSearch();
    ASSERT_TRUE(second.log.waitFor(4));
    spinFor(300);
    EXPECT_EQ(second.log.entries(), QStringList({"start (main)", "start (main)", "data 1", "finish"}));
    EXPECT_EQ(second.field(&IndexEntry::fileName), QStringList{"/Office/Users/bob/c.doc"});
}

TEST_F(SearchControllerTest, ASearchThatCannotReadTheIndexFailsOnceWithItsReason)
{
    struct Case
    {
        const char *name;
        std::function<void()> arrange;
        QString failure;
    };
    const Case cases[] = {
        // Each case adds to the one before.
        {"an index that is no database", [this] { spoilIndex(); }, "unable to open database"},
        {"no drive chosen",
         [] {
             bool changed = false;
             TXSupportFileManager::txFileManager().setDestinationDrive(QString(), &changed);
         },
         "unable to open database"},
        {"sync mode without a sync account", [this] { enterSyncModeWithoutSyncUser(); }, ControllerTexts::kNoIndexUser},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        SearchRecorder caseRecorder;
        RuvoSearchController caseSearch(timings());
        caseSearch.setUser(account());
        caseSearch.setDelegate(&caseRecorder);
        caseSearch.startSearch();
        ASSERT_TRUE(caseRecorder.log.waitFor(2));
        spinFor(100);
        EXPECT_EQ(caseRecorder.log.entries(), QStringList({"start (main)", "fail: " + c.failure}));
        EXPECT_FALSE(caseSearch.isRunning());
    }
}

TEST_F(SearchControllerTest, AControllerDestroyedWhileItsQueryRunsTellsNothingMore)
{
    search = std::make_unique<RuvoSearchController>(timings(std::chrono::milliseconds(200)));
    search->setUser(account());
    search->setDelegate(&recorder);
    search->setSearchKey("a");
    search->startSearch();
    search.reset();
    spinFor(500);
    EXPECT_EQ(recorder.log.entries(), QStringList{"start (main)"});
}

TEST_F(SearchControllerTest, AKeySearchHandsOverItsRowsAsTheyComeAndACancelStopsIt)
{
    QStringList paths;
    for (int file = 0; file < 620; ++file)
        paths << QStringLiteral("/Office/Users/ann/many/m%1.txt").arg(file);
    addFiles(paths);
    search->setSearchKey("many");
    search->startSearch();
    ASSERT_TRUE(recorder.log.waitFor(5));
    spinFor(50);
    EXPECT_EQ(recorder.log.entries(), QStringList({"start (main)", "data 100", "data 400", "data 120", "finish"}));
    EXPECT_EQ(search->fileList(), recorder.received());
    const QStringList names = recorder.field(&IndexEntry::fileName);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 620);

    // Cancelled while its first rows are handed over: it stops at its next batch.
    SearchRecorder cancelled;
    cancelled.onData = [](RuvoSearchController *s) { s->cancelSearch(); };
    search->setDelegate(&cancelled);
    search->startSearch();
    ASSERT_TRUE(cancelled.log.waitFor(3));
    spinFor(100);
    EXPECT_EQ(cancelled.log.entries(), QStringList({"start (main)", "data 100", "cancel"}));
    EXPECT_EQ(search->fileList().size(), 620 + 100);
}

}  // namespace
