#include "BrowserFakes.h"

#include "client/browser/operations/RemoteActivityView.h"
#include "client/browser/operations/RemoteOperations.h"
#include "client/browser/operations/RenameRules.h"
#include "client/browser/tree/RemoteTreeController.h"
#include "engine/controllers/RuvoDeleteController.h"
#include "support/SandboxFixture.h"
#include "support/ScriptedAlerts.h"

namespace {

class RecordingActivityView : public RemoteActivityView
{
public:
    void setSpinnerRunning(bool running) override { spinning = running; }
    void setOperationName(const QString &text) override { operationName = text; }
    void displayMessage(const QString &text) override { messages << text; }

    bool spinning = false;
    QString operationName;
    QStringList messages;
};

// The destination tree listed with folder Office/docs (and its file a.txt) and file Office/b.txt.
class OperationsGateTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        host.account.setUserName("ann");
        host.account.setRuvoUser(true);
        host.account.setISDefaultKey(true);
        operations.setView(&view);
        tree.refresh();
        ASSERT_TRUE(listing.finish("", {folderEntry("Office")}));
        tree.expandNode(*tree.nodeForPath("Office"));
        ASSERT_TRUE(listing.finish("Office", {folderEntry("docs"), fileEntry("b.txt")}));
        tree.expandNode(*tree.nodeForPath("Office/docs"));
        ASSERT_TRUE(listing.finish("Office/docs", {fileEntry("a.txt")}));
    }

    TreeViewNode *node(const QString &path) { return tree.nodeForPath(path); }

    FakeBrowserHost host;
    ScriptedAlerts alerts;
    ManualFolderListing listing;
    RemoteTreeController tree{listing, {}};
    RecordingWorkspace workspace;
    RecordingActivityView view;
    RemoteOperations operations{host, alerts, tree, workspace, RemoteOperationsServices{}};
};

TEST_F(OperationsGateTest, EveryOperationOnTheIndexRefusesWhileItIsRebuilt)
{
    using RemoteMenuRules::Action;
    host.reIndexing = true;
    QStringList versions;
    QObject::connect(&operations, &RemoteOperations::versionHistoryRequested,
                     [&versions](const QString &path) { versions << path; });
    const struct
    {
        const char *name;
        std::function<void()> act;
    } gated[] = {
        {"refresh", [&] { operations.refresh(); }},
        {"refresh of a folder", [&] { operations.trigger(Action::Refresh, node("Office/docs")); }},
        {"folder size", [&] { operations.trigger(Action::FolderSize, node("Office/docs")); }},
        {"versions", [&] { operations.trigger(Action::Versions, node("Office/b.txt")); }},
        {"rename's edit", [&] { EXPECT_FALSE(operations.trigger(Action::Rename, node("Office/b.txt"))); }},
        {"rename", [&] { EXPECT_FALSE(operations.rename().renameItem(*node("Office/b.txt"), "c.txt")); }},
        {"delete of the clicked item", [&] { operations.trigger(Action::Delete, node("Office/b.txt")); }},
        {"delete of the checked items", [&] { operations.deletion().deleteFileFromServer(); }},
        {"search in a folder", [&] { operations.trigger(Action::SearchInFolder, node("Office/docs")); }},
    };
    for (const auto &c : gated) {
        SCOPED_TRACE(c.name);
        alerts.shown.clear();
        c.act();
        EXPECT_EQ(alerts.texts(), QStringList{RemoteActivity::kReIndexText});
    }
    EXPECT_TRUE(listing.running.isEmpty());
    EXPECT_TRUE(host.searches.isEmpty());
    EXPECT_TRUE(versions.isEmpty());
    EXPECT_FALSE(view.spinning);
    EXPECT_FALSE(host.deletes.isRunning());
    EXPECT_FALSE(operations.folderSize().isRunning());

    // The share link does not touch the index: a private-key account hears its own refusal.
    host.account.setISDefaultKey(false);
    alerts.shown.clear();
    operations.trigger(Action::Share, node("Office/b.txt"));
    EXPECT_EQ(alerts.texts(), QStringList{ShareOperation::kPrivateKeyText});
    // Re-index is not offered while one runs.
    EXPECT_FALSE(operations.isEnabled(Action::ReIndex, nullptr));
}

TEST_F(OperationsGateTest, WithoutAnIndexRebuildTheHandOversAndChecksGoAhead)
{
    using RemoteMenuRules::Action;
    QStringList versions;
    QObject::connect(&operations, &RemoteOperations::versionHistoryRequested,
                     [&versions](const QString &path) { versions << path; });
    operations.trigger(Action::SearchInFolder, node("Office/docs"));
    EXPECT_EQ(host.searches, QStringList{"Office/docs"});
    operations.trigger(Action::Versions, node("Office/b.txt"));
    EXPECT_EQ(versions, QStringList{"Office/b.txt"});
    operations.trigger(Action::Refresh, nullptr);
    EXPECT_EQ(listing.running, QStringList{""});

    // Nothing checked: the delete says so and asks nothing; the share says so too.
    listing.finish("", {folderEntry("Office")});
    view.messages.clear();
    operations.deletion().deleteFileFromServer();
    EXPECT_EQ(view.messages, QStringList{DeleteOperation::kNothingCheckedText});
    EXPECT_TRUE(alerts.shown.isEmpty());
    operations.share().shareFile();
    EXPECT_EQ(alerts.texts(), QStringList{ShareOperation::kNothingToShareText});
    EXPECT_TRUE(workspace.openedAddresses.isEmpty());

    // "No" to the question starts no delete.
    alerts.shown.clear();
    alerts.answers = {0};
    operations.trigger(Action::Delete, node("Office"));
    EXPECT_EQ(alerts.texts(), QStringList{DeleteOperation::kQuestionText});
    EXPECT_FALSE(operations.deletion().isRunning());
    EXPECT_FALSE(host.deletes.isRunning());
}

TEST_F(OperationsGateTest, ARefusedNameIsExplainedAndTheUnchangedOneStartsNothing)
{
    EXPECT_FALSE(operations.rename().renameItem(*node("Office/b.txt"), "b.txt"));
    EXPECT_FALSE(operations.rename().renameItem(*node("Office/b.txt"), ""));
    EXPECT_TRUE(alerts.shown.isEmpty());
    EXPECT_FALSE(operations.rename().renameItem(*node("Office/b.txt"), "../b.txt"));
    EXPECT_FALSE(operations.rename().renameItem(*node("Office/b.txt"), "docs"));
    EXPECT_EQ(alerts.texts(), (QStringList{RenameRules::kRefusedNameText, RenameRules::kTakenNameText.arg("docs")}));
    EXPECT_FALSE(operations.rename().isRunning());
    EXPECT_EQ(node("Office/b.txt")->relativePath(), "b.txt");
}

}  // namespace
