#include "BrowserFakes.h"
#include "VersionFakes.h"

#include "client/browser/versions/VersionBrowser.h"
#include "client/browser/versions/VersionViewController.h"
#include "common/files/TXSupportFileManager.h"
#include "common/transfer/ProgressReport.h"
#include "engine/controllers/VersionRestoreProtocol.h"
#include "support/SandboxFixture.h"
#include "support/ScriptedAlerts.h"

#include <QDir>

namespace {

TEST(VersionViewControllerTest, CellsShowTheRowsTextsAndNothingPastTheEnd)
{
    VersionViewController pane;
    pane.setVersionsArray({versionRow("1", 13, "2026-12-01 10:00:00 +0000"), versionRow("2", 2048, "2026-12-02")});
    const struct
    {
        int row;
        VersionViewController::Column column;
        QString text;
    } cases[] = {
        {0, VersionViewController::VersionsColumn, "1"},
        {0, VersionViewController::SizeColumn, "13 B"},
        {0, VersionViewController::ModColumn, "2026-12-01 10:00:00 +0000"},
        {1, VersionViewController::SizeColumn, "2048 B"},
        {2, VersionViewController::VersionsColumn, ""},
        {-1, VersionViewController::ModColumn, ""},
        {0, VersionViewController::ColumnCount, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pane.objectValue(c.row, c.column), c.text) << c.row << " " << c.column;

    EXPECT_FALSE(pane.isVersionTableRowSelected());
    pane.setSelectedRows({1});
    EXPECT_EQ(pane.selectedVersion()->version, "2");
    // A new list forgets the selection: its rows are other versions.
    pane.setVersionsArray({versionRow("1", 13, "d")});
    EXPECT_FALSE(pane.selectedVersion());
    EXPECT_EQ(pane.getSelectedRowsCount(), 0);
}

class VersionBrowserTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        TXSupportFileManager::txFileManager().setTarnixUserName("ann");
        host.account.setUserName("ann");
        QDir().mkpath(volumes() + "/Drive");
        versions =
            std::make_unique<VersionBrowser>(VersionBrowser::Services{host, page, alerts, workspace, source, runner});
    }

    VersionViewController &pane() { return versions->versionViewController(); }
    QString computerFolder() const { return volumes() + "/Drive/TarnixVidezud/ann/Office"; }

    // The tree's file looked up and its two versions listed.
    void listTwoVersions()
    {
        versions->showVersionHistory(QString("Office/Users/ann/a.txt"));
        ASSERT_FALSE(source.lookupAnswers.isEmpty());
        source.lookupAnswers.last()(
            {IndexEntry{"/Office/Users/ann/a.txt", IndexEntry::Type::File, {}, 0, 2, "f1", "656e63", "/Office"}, {}});
        ASSERT_FALSE(source.listAnswers.isEmpty());
        source.listAnswers.last()(
            {true, {versionRow("1", 13, "2026-12-01 10:00:00 +0000"), versionRow("2", 23, "2026-12-02")}, {}});
    }

    FakeBrowserHost host;
    RecordingVersionPage page;
    ScriptedAlerts alerts;
    RecordingWorkspace workspace;
    ManualVersionSource source;
    RecordingVersionRunner runner;
    std::unique_ptr<VersionBrowser> versions;
};

TEST_F(VersionBrowserTest, ATreeFileIsLookedUpThenItsVersionsListedFromItsComputerFolder)
{
    versions->showVersionHistory(QString("Office/Users/ann/a.txt"));
    EXPECT_EQ(source.lookups, QStringList{"/Office/Users/ann/a.txt"});
    EXPECT_TRUE(page.shown);
    EXPECT_EQ(pane().fileLabel(), "Versions of file: /Office/Users/ann/a.txt");
    EXPECT_TRUE(pane().isVersionHistoryProgressShown());

    source.lookupAnswers.last()(
        {IndexEntry{"/Office/Users/ann/a.txt", IndexEntry::Type::File, {}, 0, 2, "f1", "656e63", "/Office"}, {}});
    ASSERT_EQ(source.lists.size(), 1);
    EXPECT_EQ(source.lists.last(), (VersionSource::ListRequest{"/f1/656e63", "/Office", computerFolder()}));
    EXPECT_EQ(pane().versionFilePath(), "/f1/656e63");
    EXPECT_TRUE(pane().isVersionHistoryProgressShown());
    source.listAnswers.last()({true, {versionRow("1", 13, "d1"), versionRow("2", 23, "d2")}, {}});
    EXPECT_EQ(pane().versions().size(), 2);
    EXPECT_FALSE(pane().isVersionHistoryProgressShown());

    // A search result carries its identity: no lookup.
    versions->showVersionHistory(StoredFileIdentity{"/Office/Users/bob/b.txt", "f2", "62", "/Office"});
    EXPECT_EQ(source.lookups.size(), 1);
    EXPECT_EQ(source.lists.last(), (VersionSource::ListRequest{"/f2/62", "/Office", computerFolder()}));
    EXPECT_EQ(pane().fileLabel(), "Versions of file: /Office/Users/bob/b.txt");

    // While the index is rebuilt the tree asks nothing.
    host.reIndexing = true;
    versions->showVersionHistory(QString("Office/Users/ann/a.txt"));
    EXPECT_EQ(source.lookups.size(), 1);
    EXPECT_EQ(alerts.texts(), QStringList{"Unable to proceed as database re-indexing is underway."});
}

TEST_F(VersionBrowserTest, ASecondRequestWhileOpenReplacesCaptionAndListAndTheFirstAnswerIsDropped)
{
    ASSERT_NO_FATAL_FAILURE(listTwoVersions());
    versions->showVersionHistory(QString("Office/Users/ann/b.txt"));
    versions->showVersionHistory(QString("Office/Users/ann/c.txt"));
    EXPECT_TRUE(page.shown);
    EXPECT_EQ(page.events.mid(page.events.size() - 2), (QStringList{"remove", "show"}));
    EXPECT_EQ(pane().fileLabel(), "Versions of file: /Office/Users/ann/c.txt");
    EXPECT_TRUE(pane().versions().isEmpty());
    EXPECT_TRUE(pane().isVersionHistoryProgressShown());

    // b's answers come late: they change nothing.
    source.lookupAnswers[1](
        {IndexEntry{"/Office/Users/ann/b.txt", IndexEntry::Type::File, {}, 0, 2, "f1", "62", "/Office"}, {}});
    EXPECT_EQ(source.lists.size(), 1);
    source.lookupAnswers[2](
        {IndexEntry{"/Office/Users/ann/c.txt", IndexEntry::Type::File, {}, 0, 3, "f1", "63", "/Office"}, {}});
    ASSERT_EQ(source.lists.size(), 2);
    source.listAnswers[0]({true, {versionRow("9", 1, "old")}, {}});
    EXPECT_TRUE(pane().versions().isEmpty());
    EXPECT_TRUE(pane().isVersionHistoryProgressShown());
    source.listAnswers[1]({true, {versionRow("1", 1, "x"), versionRow("2", 2, "y"), versionRow("3", 3, "z")}, {}});
    EXPECT_EQ(pane().versions().size(), 3);
    EXPECT_FALSE(pane().isVersionHistoryProgressShown());
}

TEST_F(VersionBrowserTest, AnAnswerThatIsNoListStopsTheIndicatorUnderTheFailureCaption)
{
    const IndexEntry file{"/Office/a.txt", IndexEntry::Type::File, {}, 0, 2, "f1", "61", "/Office"};
    const struct
    {
        const char *name;
        std::optional<VersionSource::Lookup> lookup;
        std::optional<VersionSource::List> list;
    } cases[] = {
        {"the engine ended without output or error", VersionSource::Lookup{file, {}},
         VersionSource::List{false, {}, "The engine ended without an answer."}},
        {"the engine answered no version line", VersionSource::Lookup{file, {}}, VersionSource::List{true, {}, {}}},
        {"the index has no record", VersionSource::Lookup{std::nullopt, {}}, std::nullopt},
        {"the index could not be searched", VersionSource::Lookup{std::nullopt, "locked"}, std::nullopt},
    };
    for (const auto &c : cases) {
        ASSERT_NO_FATAL_FAILURE(listTwoVersions());
        versions->showVersionHistory(QString("Office/a.txt"));
        source.lookupAnswers.last()(*c.lookup);
        if (c.list)
            source.listAnswers.last()(*c.list);
        EXPECT_EQ(pane().fileLabel(), "Unable to fetch versions. Try again.") << c.name;
        EXPECT_TRUE(pane().versions().isEmpty()) << c.name;
        EXPECT_FALSE(pane().isVersionHistoryProgressShown()) << c.name;
    }

    // A folder keeps no versions: nothing is asked of the engine, the caption stays.
    const qsizetype lists = source.lists.size();
    versions->showVersionHistory(QString("Office/docs"));
    source.lookupAnswers.last()({IndexEntry{"/Office/docs/", IndexEntry::Type::Folder, {}, 0, 0, {}, {}, {}}, {}});
    EXPECT_EQ(source.lists.size(), lists);
    EXPECT_EQ(pane().fileLabel(), "Versions of file: /Office/docs");
    EXPECT_FALSE(pane().isVersionHistoryProgressShown());
}

TEST_F(VersionBrowserTest, PerformVersionRestoreHandsTheSelectedVersionOverAfterClosingThePane)
{
    ASSERT_NO_FATAL_FAILURE(listTwoVersions());
    versions->performVersionRestore();
    EXPECT_TRUE(runner.requests.isEmpty()) << "no version selected";

    pane().setSelectedRows({0});
    EXPECT_TRUE(versions->isVersionSelected());
    versions->performVersionRestore();
    ASSERT_EQ(runner.requests.size(), 1);
    EXPECT_FALSE(page.shown);
    const VersionRestoreRequest &request = runner.requests.first();
    EXPECT_EQ(request.serverPath, "/f1/656e63");
    EXPECT_EQ(request.version.LMD(), "2026-12-01 10:00:00 +0000");
    EXPECT_EQ(request.version.version(), "1");
    EXPECT_EQ(request.version.size(), "13 B");
    EXPECT_EQ(request.version.SizeinBytes(), 13.0);
    EXPECT_EQ(request.version.versionID(), 1);
    EXPECT_EQ(request.displayPath, "Versions of file: /Office/Users/ann/a.txt");
    EXPECT_EQ(request.restoreDestination, "/restore/here");
    EXPECT_EQ(request.destination, computerFolder());
    EXPECT_NE(runner.delegate, nullptr);
}

TEST_F(VersionBrowserTest, OneRestoreAtATimeAcrossTheSessionAndTheVersionRestore)
{
    ASSERT_NO_FATAL_FAILURE(listTwoVersions());
    pane().setSelectedRows({1});
    for (auto busy : {&runner.restoring, &page.sessionRunning}) {
        *busy = true;
        alerts.shown.clear();
        versions->performVersionRestore();
        EXPECT_TRUE(runner.requests.isEmpty());
        ASSERT_EQ(alerts.shown.size(), 1);
        EXPECT_EQ(alerts.shown.first().title, "Restore in progress");
        EXPECT_EQ(alerts.shown.first().message,
                  "Unable to proceed as another instance of the restore operation is underway.");
        EXPECT_TRUE(page.shown) << "the pane stays for a later try";
        *busy = false;
    }
    // The engine of a stopped restore has not ended yet: the start is held back, and said so.
    runner.earlierRunEnding = true;
    alerts.shown.clear();
    versions->performVersionRestore();
    ASSERT_EQ(alerts.shown.size(), 1);
    EXPECT_EQ(alerts.shown.first().title, "Restore in progress");
    runner.earlierRunEnding = false;
    runner.requests.clear();
    page.shown = true;

    // Without the drive the versions cannot be reached: said, not started.
    QDir(volumes() + "/Drive").removeRecursively();
    alerts.shown.clear();
    versions->performVersionRestore();
    EXPECT_TRUE(runner.requests.isEmpty());
    EXPECT_EQ(alerts.shown.size(), 1);
}

TEST_F(VersionBrowserTest, TheVersionRestoresEndsGiveTheControlsBack)
{
    ASSERT_NO_FATAL_FAILURE(listTwoVersions());
    pane().setSelectedRows({0});
    const struct
    {
        const char *end;
        std::function<void(VersionRestoreProtocol &)> report;
        QStringList alertTexts;
        QStringList opened;
    } cases[] = {
        {"success, View",
         [](VersionRestoreProtocol &d) { d.didFinishVersionRestoreforPath("/f1/656e63", 1, "/restore/here"); },
         {"Restore operation has been completed successfully. Click the 'View' button to view the restored item(s)."},
         {"/restore/here"}},
        {"failure",
         [](VersionRestoreProtocol &d) { d.versionRestoreDidFail("txruvo error: device is not connected", nullptr); },
         {"Unable to restore the selected version. txruvo error: device is not connected"},
         {}},
        {"cancel", [](VersionRestoreProtocol &d) { d.versionRestoreDidCancel(nullptr); }, {}, {}},
    };
    for (const auto &c : cases) {
        page.events.clear();
        versions->performVersionRestore();
        ASSERT_NE(runner.delegate, nullptr);
        VersionRestoreProtocol &delegate = *runner.delegate;
        EXPECT_FALSE(host.miniProgressHidden) << c.end;
        EXPECT_TRUE(host.operationActive) << c.end;
        EXPECT_TRUE(host.restoreRunning) << c.end;
        ProgressReport progress;
        progress.set(ProgressReport::Percentage, "40");
        delegate.operationDidReceiveData(progress, nullptr);
        EXPECT_EQ(host.miniPercentage, "40 %") << c.end;

        alerts.shown.clear();
        alerts.answers = {1};
        workspace.opened.clear();
        c.report(delegate);
        EXPECT_EQ(page.events, (QStringList{"remove", "restore started", "progress", "restore ended"})) << c.end;
        EXPECT_TRUE(host.miniProgressHidden) << c.end;
        EXPECT_FALSE(host.operationActive) << c.end;
        EXPECT_FALSE(host.restoreRunning) << c.end;
        EXPECT_EQ(alerts.texts(), c.alertTexts) << c.end;
        EXPECT_EQ(workspace.opened, c.opened) << c.end;
        runner.delegate = nullptr;
        pane().setVersionsArray(pane().versions());
        pane().setSelectedRows({0});
    }
}

}  // namespace
