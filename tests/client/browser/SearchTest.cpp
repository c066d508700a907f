#include "BrowserFakes.h"

#include "client/browser/search/SearchController.h"
#include "client/browser/search/SearchRowRules.h"
#include "client/browser/search/SearchView.h"

#include <gtest/gtest.h>

namespace {

using SearchRowRules::countLine;
using SearchRowRules::displayDate;

QStringList pathsOf(const QList<FileSystemNode> &rows)
{
    QStringList paths;
    for (const FileSystemNode &row : rows)
        paths.append(row.path);
    return paths;
}

IndexEntry found(const QString &fileName, quint64 size = 10)
{
    IndexEntry entry;
    entry.fileName = fileName;
    entry.fileSize = size;
    entry.fileModificationDate = "2014-05-06 10:11:12 +0000";
    entry.versionInfo = 3;
    entry.folderID = "fid";
    entry.encFilename = "enc";
    entry.mpcName = "/Office";
    return entry;
}

TEST(SearchRowRulesTest, WhichFoundItemsBecomeRowsAndHowTheyRead)
{
    const IndexEntries results = {found("/a/visible.txt", 512),
                                  found("/a/.hidden", 2048),
                                  found("/a/sub/", 0),
                                  found("/a/db/list.txxlist"),
                                  found("/.dot/inside.txt", 3 * 1048576),
                                  found("/big.iso", 5ull * 1073741824)};
    EXPECT_EQ(pathsOf(SearchRowRules::rowsFromResults(results, false)),
              (QStringList{"/a/visible.txt", "/.dot/inside.txt", "/big.iso"}));
    const QList<FileSystemNode> rows = SearchRowRules::rowsFromResults(results, true);
    ASSERT_EQ(pathsOf(rows), (QStringList{"/a/visible.txt", "/a/.hidden", "/.dot/inside.txt", "/big.iso"}));
    EXPECT_EQ(rows[0].size, "512 B");
    EXPECT_EQ(rows[1].size, "2.00 KB");
    EXPECT_EQ(rows[2].size, "3.00 MB");
    EXPECT_EQ(rows[3].size, "5.00 GB");
    EXPECT_EQ(rows[0].name, "visible.txt");
    EXPECT_EQ(rows[0].version, "3");
    EXPECT_TRUE(rows[0].isAFile);
    EXPECT_EQ(rows[0].folderID, "fid");
    EXPECT_EQ(rows[0].encFileName, "enc");
    EXPECT_EQ(rows[0].mpcName, "/Office");
    EXPECT_EQ(rows[0].checkState, FileSystemNode::CheckState::Off);
}

TEST(SearchRowRulesTest, ResultLinesAndDates)
{
    EXPECT_EQ(countLine(0), "Items not found");
    EXPECT_EQ(countLine(1), "1 item found");
    EXPECT_EQ(countLine(2), "2 items found");
    EXPECT_EQ(SearchRowRules::deletedLine(1), "1 item deleted");
    EXPECT_EQ(SearchRowRules::deletedLine(3), "3 items deleted");
    EXPECT_EQ(displayDate("2013-04-05 06:07:08 +0000"), "04/05/2013 06:07:08");
    EXPECT_EQ(displayDate("Fri Apr  5 06:07:08 2013"), "04/ 5/2013 06:07:08");
    EXPECT_EQ(displayDate("2013-04-05 +"), "");
    EXPECT_EQ(displayDate("Fri Apr  5"), "");
    EXPECT_EQ(displayDate(""), "");
}

TEST(SearchRowRulesTest, TheFinishedSearchGroupsRowsByFolderInPlainPathOrder)
{
    QList<FileSystemNode> rows = {searchRow("/b/2.txt"), searchRow("/a/x/9.txt"), searchRow("/b/1.txt"),
                                  searchRow("/a/3.txt"), searchRow("/B/0.txt"),   searchRow("/a/1.txt")};
    SearchRowRules::sortByParentFolder(rows);
    // Upper case first (plain comparison), a folder's rows in their arrival order.
    EXPECT_EQ(pathsOf(rows), (QStringList{"/B/0.txt", "/a/3.txt", "/a/1.txt", "/a/x/9.txt", "/b/2.txt", "/b/1.txt"}));
    EXPECT_EQ(searchRow("/a/3.txt").compareParentFolderPath(searchRow("/a/1.txt")), 0);
    EXPECT_LT(searchRow("/a/3.txt").compareParentFolderPath(searchRow("/b/1.txt")), 0);
}

TEST(SearchRowRulesTest, TheVersionsEntryAndTheCheckedRowsInTableOrder)
{
    EXPECT_TRUE(SearchRowRules::versionsEnabled(true, "2"));
    EXPECT_FALSE(SearchRowRules::versionsEnabled(true, "1"));
    EXPECT_FALSE(SearchRowRules::versionsEnabled(false, "5"));
    EXPECT_FALSE(SearchRowRules::versionsEnabled(true, "x"));

    QList<FileSystemNode> rows = {searchRow("/O/a/x.txt"), searchRow("/O/a/y.txt"), searchRow("/O/b/z.txt"),
                                  searchRow("/O/a/w.txt"), searchRow("/O/c/skip.txt")};
    for (int row : {0, 1, 2, 3})
        rows[row].checkState = FileSystemNode::CheckState::On;
    const RestoreRules::Selection selection = SearchRowRules::checkedSelection(rows);
    // One folder split by another makes two sets, as the table shows them.
    EXPECT_EQ(selection.fileSets, (QList<QPair<QString, QStringList>>{
                                      {"O/a", {"x.txt", "y.txt"}}, {"O/b", {"z.txt"}}, {"O/a", {"w.txt"}}}));
    EXPECT_EQ(selection.contents, (QStringList{"O/a/x.txt", "O/a/y.txt", "O/b/z.txt", "O/a/w.txt"}));
    EXPECT_EQ(selection.indexPathsOfFiles(), (QStringList{"/O/a/x.txt", "/O/a/y.txt", "/O/b/z.txt", "/O/a/w.txt"}));
    EXPECT_TRUE(SearchRowRules::checkedSelection({searchRow("/O/a/x.txt")}).contents.isEmpty());
    EXPECT_EQ(SearchRowRules::rowSelection(rows[4]).indexPathsOfFiles(), QStringList{"/O/c/skip.txt"});
}

class RecordingSearchView : public SearchView
{
public:
    void setSpinnerRunning(bool on) override { animating = on; }
    void setOperationName(const QString &text) override { operation = text; }
    void displayMessage(const QString &text) override { message = text; }
    void setVersionColumnHidden(bool hidden) override { versionColumnHidden = hidden; }

    bool animating = false;
    QString operation;
    QString message;
    bool versionColumnHidden = false;
};

class SearchControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.account.setRuvoUser(true);
        controller.setView(&view);
    }

    QStringList rows() const { return pathsOf(controller.results().rows()); }

    FakeBrowserHost host;
    ManualKeySearch search;
    RecordingSearchView view;
    SearchController controller{host, search};
};

TEST_F(SearchControllerTest, RowsComeInBatchesAndTheFinishedSearchSortsThem)
{
    controller.searchforPath("", "");
    EXPECT_TRUE(search.started.isEmpty()) << "an empty key starts nothing";
    host.backupMode = false;
    controller.searchforPath("re*rt", "");
    EXPECT_TRUE(view.versionColumnHidden);
    ASSERT_EQ(search.started.size(), 1);
    EXPECT_EQ(search.started[0].key, "re*rt");
    EXPECT_TRUE(view.animating);
    EXPECT_EQ(view.operation, "Searching...");

    const quint64 first = search.latest();
    search.rows(first, {searchRow("/b/report.txt")});
    EXPECT_EQ(view.message, "1 item found");
    search.rows(first, {searchRow("/a/resort.txt")});
    EXPECT_EQ(view.message, "2 items found");
    EXPECT_EQ(rows(), (QStringList{"/b/report.txt", "/a/resort.txt"}));
    search.finish(first);
    EXPECT_EQ(rows(), (QStringList{"/a/resort.txt", "/b/report.txt"}));
    EXPECT_FALSE(view.animating);
    EXPECT_EQ(view.operation, "");
    EXPECT_FALSE(controller.isSearching());

    controller.toggleCheckBoxState(1);
    controller.toggleCheckBoxState(7);  // no such row: nothing changes
    EXPECT_EQ(controller.results().at(1).checkState, FileSystemNode::CheckState::On);
    controller.toggleCheckBoxState(1);
    EXPECT_EQ(controller.results().at(1).checkState, FileSystemNode::CheckState::Off);

    controller.searchforPath("ghost", "");
    search.rows(search.latest(), {});
    search.finish(search.latest());
    EXPECT_EQ(view.message, "Items not found");
    EXPECT_TRUE(rows().isEmpty());
}

TEST_F(SearchControllerTest, ANewSearchReplacesTheRunningOneAndItsLateReportsAreDropped)
{
    controller.searchforPath("old", "");
    const quint64 old = search.latest();
    search.rows(old, {searchRow("/x/old-1.txt")});
    controller.toggleCheckBoxState(0);

    controller.searchforPath("new", "");
    const quint64 current = search.latest();
    ASSERT_NE(current, old);
    EXPECT_TRUE(rows().isEmpty()) << "the new search starts from an empty table";
    // What the replaced search had on its way arrives after the new one started.
    search.rows(old, {searchRow("/x/old-2.txt")});
    search.finish(old);
    EXPECT_TRUE(view.animating) << "the old finish does not end the new search";
    search.rows(current, {searchRow("/y/new.txt")});
    search.finish(current);
    EXPECT_EQ(rows(), QStringList{"/y/new.txt"});
    EXPECT_EQ(controller.results().at(0).checkState, FileSystemNode::CheckState::Off);
    EXPECT_EQ(view.message, "1 item found");

    // Back to the Restore page mid-search: the search is cancelled and nothing more shows.
    QStringList requests;
    QObject::connect(&controller, &SearchController::remoteViewRequested, [&] { requests.append("restore page"); });
    controller.searchforPath("third", "");
    controller.DisplayRemoteView();
    EXPECT_EQ(search.cancels, 1);
    EXPECT_FALSE(view.animating);
    search.rows(search.latest(), {searchRow("/z/late.txt")});
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(requests, QStringList{"restore page"});
}

TEST_F(SearchControllerTest, AnAccountWithoutStorageServerFindsNothingAndHasNoVersions)
{
    controller.searchforPath("report", "");
    search.rows(search.latest(), {searchRow("/a/report.txt", "3")});
    search.finish(search.latest());
    using Item = SearchController::MenuItem;
    EXPECT_TRUE(controller.validateMenuItem(Item::Versions, 0));
    EXPECT_TRUE(controller.validateMenuItem(Item::Share, 0));
    EXPECT_FALSE(controller.validateMenuItem(Item::Restore, -1));
    EXPECT_FALSE(controller.validateMenuItem(Item::Delete, 1));

    host.account.setRuvoUser(false);
    EXPECT_FALSE(controller.validateMenuItem(Item::Versions, 0));
    const qsizetype started = search.started.size();
    controller.searchforPath("report", "");
    EXPECT_EQ(search.started.size(), started) << "no index search for this account";
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(view.message, "Items not found");
    EXPECT_FALSE(view.animating);
}

}  // namespace
