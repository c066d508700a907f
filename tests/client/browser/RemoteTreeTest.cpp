#include "BrowserFakes.h"

#include "client/browser/tree/RemoteTreeController.h"
#include "client/browser/tree/RemoteTreeObserver.h"
#include "client/browser/tree/RemoteTreeRules.h"
#include "common/context/ProgramContext.h"
#include "common/texts/TextTable.h"
#include "support/SandboxFixture.h"

#include <QDir>

namespace {

using RemoteTreeRules::ListedNode;

TEST(RemoteTreeRulesTest, ListingEntriesBecomeRowsWithTheirOwnNames)
{
    IndexEntry sub;
    sub.fileName = "/Office/Users/ann/sub/";
    sub.fileType = IndexEntry::Type::Folder;
    IndexEntry office;
    office.fileName = "/Office/";
    office.fileType = IndexEntry::Type::Folder;
    IndexEntry file;
    file.fileName = "a.txt";
    file.fileSize = 1536;
    file.fileModificationDate = "2026-01-02 03:04:05 +0000";
    file.versionInfo = 2;
    const QList<RemoteEntry> expected{{"sub", true, "", "", ""},
                                      {"Office", true, "", "", ""},
                                      {"a.txt", false, "1536", "2026-01-02 03:04:05 +0000", "2"}};
    EXPECT_EQ(remoteEntriesFromListing({sub, office, file}), expected);
}

TEST(RemoteTreeRulesTest, ListingToNodes)
{
    const QList<RemoteEntry> listing{
        fileEntry("b.txt", "1536"), fileEntry(".profile", "5"), fileEntry(".__Documents.txxlist", "9"),
        folderEntry("Zeta"),        fileEntry("A.txt", "10"),   folderEntry("BackUp_nightly_2"),
        folderEntry("alpha"),       folderEntry(".hidden")};
    const struct
    {
        bool showHidden;
        int parentState;
        QStringList paths;
        int childState;
    } cases[] = {
        {false, 1, {"F/BackUp_nightly_2", "F/alpha", "F/Zeta", "F/A.txt", "F/b.txt"}, 1},
        {true, 0, {"F/BackUp_nightly_2", "F/.hidden", "F/alpha", "F/Zeta", "F/.profile", "F/A.txt", "F/b.txt"}, 0},
        {false, -1, {"F/BackUp_nightly_2", "F/alpha", "F/Zeta", "F/A.txt", "F/b.txt"}, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.showHidden);
        const QList<ListedNode> nodes = RemoteTreeRules::nodesFromListing(listing, "F", c.parentState, c.showHidden);
        QStringList paths;
        for (const ListedNode &node : nodes) {
            paths << node.fullPath;
            EXPECT_EQ(node.checkState, c.childState);
            EXPECT_EQ(node.sizeText == "-", node.isFolder) << node.fullPath.toStdString();
        }
        EXPECT_EQ(paths, c.paths);
    }
    const QList<ListedNode> root = RemoteTreeRules::nodesFromListing({fileEntry("b.txt", "1536")}, "", 0, false);
    ASSERT_EQ(root.size(), 1);
    EXPECT_EQ(root[0], (ListedNode{"b.txt", false, "1.50 KB", "2026-12-01 10:00:00 +0000", "1", 0}));
    EXPECT_TRUE(RemoteTreeRules::nodesFromListing({fileEntry(".a"), fileEntry(".b.txxlist")}, "", 1, false).isEmpty());
}

TEST(RemoteTreeRulesTest, NightlyFoldersShowTheLoginName)
{
    User account;
    account.setUserName("u123");
    account.setLoggedUserName("ann");
    EXPECT_EQ(RemoteTreeRules::shownName("BackUp_nightly_u123", account), "BackUp_nightly_ann");
    EXPECT_EQ(RemoteTreeRules::shownName("u123 notes", account), "u123 notes");
    account.setRuvoUser(true);
    EXPECT_EQ(RemoteTreeRules::shownName("BackUp_nightly_u123", account), "BackUp_nightly_u123");
}

class DataRootTest : public SandboxFixture
{};

TEST_F(DataRootTest, BrandAndModeChooseTheFolderAndAMissingNameGivesNone)
{
    User ann;
    ann.setUserName("ann");
    ann.setMSyncUserName("ann-sync");
    User nobody;
    User annWithoutSync;
    annWithoutSync.setUserName("ann");
    const struct
    {
        const char *brand;
        QString volume;
        User account;
        bool backupMode;
        QString root;
    } cases[] = {
        {"Tarnix", "/v/Drive", ann, true, "/v/Drive/TarnixVidezud/ann"},
        {"Tarnix", "/v/Drive", ann, false, "/v/Drive/TarnixVidezud/ann-sync"},
        {"Quellon", "/v/Drive", ann, true, "/v/Drive/QuellonVidezud/ann"},
        {"Quellon", "/v/Drive", ann, false, "/v/Drive/QuellonVidezud/ann"},
        {"Tarnix", "", ann, true, ""},
        {"Quellon", "", ann, true, ""},
        {"Tarnix", "/v/Drive", nobody, true, ""},
        {"Tarnix", "/v/Drive", annWithoutSync, false, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.brand) + " " + c.volume.toStdString() + " " + (c.backupMode ? "backup" : "sync"));
        qputenv("TX_BRAND", c.brand);
        ProgramContext::current().texts().reload();
        EXPECT_EQ(RemoteTreeRules::dataRoot(c.volume, c.account, c.backupMode), c.root);
    }
}

// The model's side: every change is bracketed, and rows are counted as the model would.
class RecordingObserver : public RemoteTreeObserver
{
public:
    void treeWillReset() override { events << "reset"; }
    void treeDidReset() override {}
    void childrenWillBeRemoved(const TreeViewNode &folder, int count) override
    {
        events << QString("remove %1 %2").arg(folder.fullPath()).arg(count);
    }
    void childrenRemoved() override {}
    void childrenWillBeInserted(const TreeViewNode &folder, int count) override
    {
        events << QString("insert %1 %2").arg(folder.fullPath()).arg(count);
    }
    void childrenInserted() override {}
    void childWillBeRemoved(const TreeViewNode &folder, int row) override
    {
        events << QString("remove row %1 %2").arg(folder.fullPath()).arg(row);
    }
    void nodeChanged(const TreeViewNode &node) override { events << "changed " + node.fullPath(); }
    void checkStatesChanged() override { events << "states"; }
    void showStatusMessage(const QString &text) override { messages << text; }

    QStringList events;
    QStringList messages;
};

class RemoteTreeControllerTest : public ::testing::Test
{
protected:
    RemoteTreeControllerTest()
        : tree(listing, {[this] { return showHidden; }, [this] { ++rowsListed; }, [this] { ++listingsFinished; }})
    {
        tree.setObserver(&observer);
    }

    QStringList childNames(const QString &path) const
    {
        QStringList names;
        for (const TreeViewNode *child : tree.nodeForPath(path)->children())
            names << child->relativePath();
        return names;
    }

    // The root listed with folders A and B and file c.txt, and A opened with x, y.
    void listTwoLevels()
    {
        tree.refresh();
        ASSERT_TRUE(listing.finish("", {folderEntry("A"), folderEntry("B"), fileEntry("c.txt")}));
        tree.expandNode(*tree.nodeForPath("A"));
        ASSERT_TRUE(listing.finish("A", {fileEntry("x"), fileEntry("y"), folderEntry("sub")}));
    }

    static QStringList paths(const std::vector<TreeViewNode *> &nodes)
    {
        QStringList result;
        for (const TreeViewNode *node : nodes)
            result << node->fullPath();
        return result;
    }

    ManualFolderListing listing;
    bool showHidden = false;
    int rowsListed = 0;
    int listingsFinished = 0;
    RecordingObserver observer;
    RemoteTreeController tree;
};

TEST_F(RemoteTreeControllerTest, FoldersAreListedLazilyUnderALoadingRow)
{
    tree.refresh();
    EXPECT_EQ(listing.running, QStringList{""});
    EXPECT_EQ(childNames(""), QStringList{"Loading..."});
    EXPECT_TRUE(tree.rootItem().children()[0]->isPlaceholder());

    ASSERT_TRUE(listing.finish("", {fileEntry("c.txt"), folderEntry("A"), fileEntry(".hidden")}));
    EXPECT_EQ(childNames(""), (QStringList{"A", "c.txt"}));
    EXPECT_EQ(rowsListed, 1);
    EXPECT_TRUE(listing.running.isEmpty()) << "a folder is listed only when it is opened";

    TreeViewNode &folder = *tree.nodeForPath("A");
    tree.expandNode(folder);
    tree.expandNode(folder);  // a second opening while it lists starts nothing
    EXPECT_EQ(listing.running, QStringList{"A"});
    EXPECT_EQ(childNames("A"), QStringList{"Loading..."});
    ASSERT_TRUE(listing.finish("A", {}));
    EXPECT_TRUE(childNames("A").isEmpty()) << "an empty folder loses its loading row";
    EXPECT_EQ(rowsListed, 1) << "a listing without rows arms no guide";
    EXPECT_EQ(listingsFinished, 2);
    EXPECT_EQ(observer.events,
              (QStringList{"reset", "insert  1", "remove  1", "insert  2", "insert A 1", "remove A 1"}));
}

TEST_F(RemoteTreeControllerTest, AFailedListingEmptiesThatFolderOnlyAndOpeningItAgainRetries)
{
    listTwoLevels();
    tree.expandNode(*tree.nodeForPath("B"));
    ASSERT_TRUE(listing.fail("B"));
    EXPECT_TRUE(childNames("B").isEmpty());
    EXPECT_EQ(childNames(""), (QStringList{"A", "B", "c.txt"}));
    EXPECT_EQ(childNames("A"), (QStringList{"sub", "x", "y"}));
    EXPECT_EQ(observer.messages, QStringList{"Unable to list folder. Try later."});

    tree.expandNode(*tree.nodeForPath("B"));
    ASSERT_TRUE(listing.finish("B", {fileEntry("z")}));
    EXPECT_EQ(childNames("B"), QStringList{"z"});

    // A failed root listing leaves an empty tree with the message, never "Loading..." for good.
    tree.refresh();
    ASSERT_TRUE(listing.fail(""));
    EXPECT_TRUE(tree.rootItem().children().empty());
    EXPECT_EQ(observer.messages.size(), 2);
}

TEST_F(RemoteTreeControllerTest, ARefreshDiscardsTheTreeAndLateResultsChangeNothing)
{
    listTwoLevels();
    tree.expandNode(*tree.nodeForPath("A/sub"));
    tree.expandNode(*tree.nodeForPath("B"));
    tree.refresh();
    EXPECT_EQ(listing.cancels, 2);
    EXPECT_EQ(listing.running, QStringList{""});
    EXPECT_EQ(tree.nodeForPath("A"), nullptr);

    listing.lateResult("A/sub", {fileEntry("late")});
    listing.lateResult("B", {fileEntry("late")});
    EXPECT_EQ(childNames(""), QStringList{"Loading..."});
    EXPECT_EQ(tree.nodeForPath("B/late"), nullptr);

    ASSERT_TRUE(listing.finish("", {folderEntry("A")}));
    EXPECT_EQ(childNames(""), QStringList{"A"});
}

TEST_F(RemoteTreeControllerTest, ChecksFollowDownAndUpAndTheSelectionIsTheTopmostCheckedItems)
{
    listTwoLevels();
    tree.toggleCheckboxStateforNode(*tree.nodeForPath("A/x"));
    EXPECT_EQ(tree.nodeForPath("A")->checkState(), TreeViewNode::Mixed);
    tree.toggleCheckboxStateforNode(*tree.nodeForPath("A/y"));
    tree.toggleCheckboxStateforNode(*tree.nodeForPath("A/sub"));
    EXPECT_EQ(tree.nodeForPath("A")->checkState(), TreeViewNode::Checked) << "all children on";
    EXPECT_EQ(paths(tree.getAllSelectedNode()), QStringList{"A"});

    tree.toggleCheckboxStateforNode(*tree.nodeForPath("A"));
    EXPECT_EQ(tree.nodeForPath("A/x")->checkState(), TreeViewNode::Unchecked);
    EXPECT_TRUE(tree.getAllSelectedNode().empty());

    // Checked, then opened: the new rows start on; under an unchecked folder they start off.
    tree.toggleCheckboxStateforNode(*tree.nodeForPath("A/sub"));
    tree.expandNode(*tree.nodeForPath("A/sub"));
    ASSERT_TRUE(listing.finish("A/sub", {fileEntry("deep")}));
    EXPECT_EQ(tree.nodeForPath("A/sub/deep")->checkState(), TreeViewNode::Checked);
    tree.expandNode(*tree.nodeForPath("B"));
    ASSERT_TRUE(listing.finish("B", {fileEntry("z")}));
    EXPECT_EQ(tree.nodeForPath("B/z")->checkState(), TreeViewNode::Unchecked);

    tree.toggleCheckboxStateforNode(*tree.nodeForPath("A/x"));
    tree.toggleCheckboxStateforNode(*tree.nodeForPath("c.txt"));
    EXPECT_EQ(paths(tree.getAllSelectedNode()), (QStringList{"A/sub", "A/x", "c.txt"}));
    EXPECT_TRUE(observer.events.contains("states"));
}

TEST_F(RemoteTreeControllerTest, ARenamedFolderTakesItsNewPathDownToItsDeepestRow)
{
    // a/x/a/y: the inner "a" is a name of its own and stays.
    tree.refresh();
    ASSERT_TRUE(listing.finish("", {folderEntry("a"), folderEntry("ab")}));
    tree.expandNode(*tree.nodeForPath("a"));
    ASSERT_TRUE(listing.finish("a", {folderEntry("x")}));
    tree.expandNode(*tree.nodeForPath("a/x"));
    ASSERT_TRUE(listing.finish("a/x", {folderEntry("a"), fileEntry("f")}));
    tree.expandNode(*tree.nodeForPath("a/x/a"));
    ASSERT_TRUE(listing.finish("a/x/a", {fileEntry("y")}));
    tree.expandNode(*tree.nodeForPath("ab"));  // its listing is still running
    TreeViewNode *deepest = tree.nodeForPath("a/x/a/y");

    tree.renameNode("a", "b");
    EXPECT_EQ(tree.nodeForPath("b/x/a/y"), deepest);
    EXPECT_EQ(deepest->fullPath(), "b/x/a/y");
    EXPECT_EQ(tree.nodeForPath("b")->relativePath(), "b");
    EXPECT_EQ(tree.nodeForPath("b/x/f")->fullPath(), "b/x/f");
    for (const QString gone : {"a", "a/x", "a/x/a", "a/x/a/y", "b/x/b/y"})
        EXPECT_EQ(tree.nodeForPath(gone), nullptr) << gone.toStdString();
    EXPECT_TRUE(tree.isListing(*tree.nodeForPath("ab"))) << "a sibling sharing the first letters is untouched";
    EXPECT_TRUE(observer.events.contains("changed b"));

    // A name taken by a sibling changes nothing.
    tree.renameNode("b", "ab");
    EXPECT_NE(tree.nodeForPath("b"), nullptr);
}

TEST_F(RemoteTreeControllerTest, ADeletedItemLeavesWithEverythingBelowIt)
{
    listTwoLevels();
    tree.toggleCheckboxStateforNode(*tree.nodeForPath("A/x"));
    tree.deleteNodeFromTreeWithPath("A/sub");
    tree.deleteNodeFromTreeWithPath("A/y");
    EXPECT_EQ(childNames("A"), QStringList{"x"});
    EXPECT_EQ(tree.nodeForPath("A/sub"), nullptr);
    EXPECT_TRUE(observer.events.contains("remove row A 0"));
    // What is left in the folder is all checked: so is the folder.
    EXPECT_EQ(tree.nodeForPath("A")->checkState(), TreeViewNode::Checked);
    tree.deleteNodeFromTreeWithPath("A");
    EXPECT_EQ(childNames(""), (QStringList{"B", "c.txt"}));
    EXPECT_EQ(tree.nodeForPath("A/x"), nullptr);
    tree.deleteNodeFromTreeWithPath("nothing/here");  // changes nothing
    EXPECT_EQ(childNames(""), (QStringList{"B", "c.txt"}));
}

}  // namespace
