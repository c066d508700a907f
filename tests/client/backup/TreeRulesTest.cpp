#include "client/backup/localtree/TreeViewController.h"
#include "client/backup/localtree/TreeViewControllerDelegate.h"
#include "common/volumes/LocalVolumeLayout.h"

#include <gtest/gtest.h>

#include <QMap>

namespace {

const LocalVolumeLayout kLayout{QStringLiteral("/V"), QStringLiteral("/"), QStringLiteral("B"),
                                QStringLiteral("/Users/me")};

ListedEntry entry(const QString &name)
{
    ListedEntry listed;
    listed.name = name;
    listed.isDir = !name.contains('.');
    return listed;
}

// A tree built from listings, without a disk:
//   /V/B/Users/me (home): code (a, b), notes.txt; Documents and Desktop shown at the top
//   /V/X (a drive): p (q.txt), r.txt, s (t, a folder never listed, and u.txt)
class RulesTree : public TreeViewControllerDelegate
{
public:
    // homeItems: what a listing of the home folder finds.
    explicit RulesTree(const QStringList &homeItems = {"Desktop", "Documents", "code", "notes.txt"})
    {
        tree.setDelegate(this);
        tree.setRootNodeWithPath(QStringLiteral("/V"));
        list("/V", {"B", "X"});
        list("/V/B", {"Users"});
        list("/V/B/Users", {"me"});
        list("/V/B/Users/me", homeItems, TreeViewController::kHomeDefaultFolders);
        tree.showAtTopOfRoot(node("/V/B/Users/me/Desktop"), 0);
        tree.showAtTopOfRoot(node("/V/B/Users/me/Documents"), 1);
        if (node("/V/B/Users/me/code"))
            list("/V/B/Users/me/code", {"a.txt", "b.txt"});
        list("/V/X", {"p", "r.txt", "s"});
        list("/V/X/p", {"q.txt"});
        list("/V/X/s", {"t", "u.txt"});
        saves = 0;
    }

    void list(const QString &folder, const QStringList &names, const QStringList &leftOut = {})
    {
        QVector<ListedEntry> entries;
        for (const QString &name : names)
            entries.append(entry(name));
        tree.installListedChildren(node(folder), entries, leftOut);
    }

    TreeViewNode *node(const QString &path) { return tree.nodeForPath(path); }
    void toggle(const QString &path) { tree.toggleCheckboxStateforNode(node(path)); }

    void saveDataToDisk() override { ++saves; }
    bool isLocalTree() const override { return true; }
    QString homeFolderPath() const override { return QStringLiteral("/V/B/Users/me"); }
    void reloadData() override {}

    TreeViewController tree{kLayout};
    int saves = 0;
};

// Each case toggles the listed nodes in order, starting with nothing checked,
// and then expects the states shown (1 checked, 0 unchecked, -1 mixed).
TEST(TreeRulesTest, TogglesFollowTheAncestorAndHomeFolderRules)
{
    const struct
    {
        const char *what;
        QStringList toggles;
        QMap<QString, int> expected;
    } cases[] = {
        {"checking the only item of a folder checks the folder; the drive is mixed",
         {"/V/X/p/q.txt"},
         {{"/V/X/p/q.txt", 1}, {"/V/X/p", 1}, {"/V/X", -1}, {"/V/X/r.txt", 0}, {"/V/B", 0}}},
        {"checking a folder checks what is listed below it",
         {"/V/X/s"},
         {{"/V/X/s", 1}, {"/V/X/s/t", 1}, {"/V/X/s/u.txt", 1}, {"/V/X", -1}}},
        {"checking every item of a drive checks the drive",
         {"/V/X/p", "/V/X/r.txt", "/V/X/s"},
         {{"/V/X", 1}, {"/V/X/p/q.txt", 1}}},
        {"unchecking one item of a checked folder makes it mixed",
         {"/V/X/s", "/V/X/s/t"},
         {{"/V/X/s", -1}, {"/V/X/s/t", 0}, {"/V/X/s/u.txt", 1}, {"/V/X", -1}}},
        {"unchecking the last checked item clears the folders above it",
         {"/V/X/s/t", "/V/X/s/t"},
         {{"/V/X/s", 0}, {"/V/X", 0}, {"/V/X/s/t", 0}}},
        {"a mixed folder under a mixed parent becomes checked",
         {"/V/X/s/t", "/V/X/s"},
         {{"/V/X/s", 1}, {"/V/X/s/u.txt", 1}, {"/V/X", -1}}},
        {"an emptied folder stays mixed above another mixed sibling",
         {"/V/X/p", "/V/X/s/t", "/V/X/p/q.txt"},
         {{"/V/X/p", 0}, {"/V/X", -1}, {"/V/X/s", -1}, {"/V/X/s/t", 1}}},
        {"a checked default folder keeps the home folder mixed",
         {"/V/B/Users/me/Documents", "/V/B/Users/me/code", "/V/B/Users/me/code"},
         {{"/V/B/Users/me", -1}, {"/V/B/Users/me/Documents", 1}, {"/V/B/Users/me/code", 0}, {"/V/B", -1}}},
        {"unchecking the last default folder clears the home folder",
         {"/V/B/Users/me/Desktop", "/V/B/Users/me/Desktop"},
         {{"/V/B/Users/me", 0}, {"/V/B/Users", 0}, {"/V/B", 0}}},
        {"checking the home folder checks its default folders too",
         {"/V/B/Users/me"},
         {{"/V/B/Users/me/Desktop", 1}, {"/V/B/Users/me/Documents", 1}, {"/V/B/Users/me/code/a.txt", 1}}},
        {"unchecking a default folder of a checked home folder leaves the rest checked",
         {"/V/B/Users/me", "/V/B/Users/me/Desktop"},
         {{"/V/B/Users/me", -1}, {"/V/B/Users/me/Documents", 1}, {"/V/B/Users/me/Desktop", 0}}},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.what);
        RulesTree rules;
        for (const QString &path : test.toggles)
            rules.toggle(path);
        for (auto it = test.expected.cbegin(); it != test.expected.cend(); ++it)
            EXPECT_EQ(rules.node(it.key())->checkState(), it.value()) << it.key().toStdString();
        EXPECT_EQ(rules.tree.mRootItem()->checkState(), -1);
        EXPECT_EQ(rules.saves, test.toggles.size());
    }
}

TEST(TreeRulesTest, DefaultFoldersAloneNeverStandForTheWholeHome)
{
    // The home shows nothing but its default folders (its hidden items are not listed).
    RulesTree rules({"Desktop", "Documents"});
    rules.toggle("/V/B/Users/me/Documents");
    EXPECT_EQ(rules.node("/V/B/Users/me")->checkState(), -1);
    EXPECT_EQ(rules.tree.getMaskedBackupSet(), QStringList{"/Users/me/Documents"});

    rules.toggle("/V/B/Users/me/Desktop");
    EXPECT_EQ(rules.node("/V/B/Users/me")->checkState(), -1);
    EXPECT_EQ(rules.tree.getMaskedBackupSet(), QStringList({"/Users/me/Desktop", "/Users/me/Documents"}));
}

TEST(TreeRulesTest, PathsBelowFoldersNeverListedWaitInTheBackupSet)
{
    RulesTree rules;
    rules.tree.addNodeWithPath(QStringLiteral("/V/X/s/t/deep/file"), TreeViewNode::Checked, false, {}, {}, {});
    EXPECT_TRUE(rules.tree.mBackupSet().contains(QStringLiteral("/V/X/s/t/deep/file")));
    EXPECT_EQ(rules.node("/V/X/s/t")->checkState(), -1);
    EXPECT_EQ(rules.node("/V/X/s")->checkState(), -1);
    EXPECT_EQ(rules.node("/V/X")->checkState(), -1);

    // A checked path elsewhere keeps the drive mixed when this one goes.
    rules.toggle("/V/X/r.txt");
    rules.tree.removeNodeWithPath(QStringLiteral("/V/X/s/t/deep/file"));
    EXPECT_TRUE(rules.tree.mBackupSet().isEmpty());
    EXPECT_EQ(rules.node("/V/X/s/t")->checkState(), 0);
    EXPECT_EQ(rules.node("/V/X/s")->checkState(), 0);
    EXPECT_EQ(rules.node("/V/X")->checkState(), -1);
    EXPECT_EQ(rules.node("/V/X/r.txt")->checkState(), 1);

    rules.tree.removeNodeWithPath(QStringLiteral("/V/X/r.txt"));
    EXPECT_EQ(rules.node("/V/X")->checkState(), 0);
}

TEST(TreeRulesTest, ToggledFolderTakesOverTheWaitingPathsBelowIt)
{
    RulesTree rules;
    rules.tree.addNodeWithPath(QStringLiteral("/V/X/s/t/deep"), TreeViewNode::Checked, true, {}, {}, {});
    rules.toggle("/V/X/s");
    EXPECT_EQ(rules.node("/V/X/s")->checkState(), 1);
    EXPECT_TRUE(rules.tree.mBackupSet().isEmpty());
}

TEST(TreeRulesTest, DeselectingLeavesUncheckedNodesAlone)
{
    RulesTree rules;
    rules.tree.removeNodesWithPathArray({QStringLiteral("/V/X/r.txt")});
    EXPECT_EQ(rules.node("/V/X/r.txt")->checkState(), 0);
    rules.toggle("/V/X/s/t");
    rules.tree.removeNodesWithPathArray({QStringLiteral("/V/X/s")});
    EXPECT_EQ(rules.node("/V/X/s/t")->checkState(), 0);
    EXPECT_EQ(rules.node("/V/X")->checkState(), 0);
}

TEST(TreeRulesTest, StoredSelectionTakesOnlyALeadingStartupPrefixOff)
{
    RulesTree rules;
    rules.toggle("/V/B/Users/me/code");
    rules.toggle("/V/X/p");
    // A folder on another drive whose path holds "/V/B/" further in stays as it is.
    rules.tree.addNodeWithPath(QStringLiteral("/V/X/V/B/kept"), TreeViewNode::Checked, true, {}, {}, {});
    EXPECT_EQ(rules.tree.getMaskedBackupSet(), QStringList({"/Users/me/code", "/V/X/V/B/kept", "/V/X/p"}));

    RulesTree whole;
    whole.toggle("/V/B");
    EXPECT_EQ(whole.tree.getMaskedBackupSet(), QStringList{"/"});
}

TEST(TreeRulesTest, PathFormsAndSiblingOrder)
{
    const struct
    {
        const char *treePath;
        const char *stored;
    } forms[] = {
        {"/V/B", "/"},
        {"/V/B/Users/me", "/Users/me"},
        {"/V/Backup/Photos", "/V/Backup/Photos"},
        {"/V/BB/x", "/V/BB/x"},
    };
    for (const auto &form : forms) {
        EXPECT_EQ(kLayout.storedForm(form.treePath), form.stored);
        EXPECT_EQ(kLayout.treePath(form.stored), form.treePath);
        EXPECT_EQ(kLayout.diskPath(form.treePath), form.stored);
    }

    const struct
    {
        const char *first;
        bool firstIsDir;
        const char *second;
        bool secondIsDir;
    } orders[] = {
        {"BackUp_nightly_10", true, "BackUp_nightly_2", true},
        {"BackUp_nightly_x", false, "Apps", true},
        {"zeta", true, "alpha", false},
        {"apple", false, "Banana", false},
    };
    for (const auto &order : orders) {
        EXPECT_TRUE(TreeViewNode::isOrderedBefore(order.first, order.firstIsDir, order.second, order.secondIsDir))
            << order.first;
        EXPECT_FALSE(TreeViewNode::isOrderedBefore(order.second, order.secondIsDir, order.first, order.firstIsDir))
            << order.second;
    }
}

}  // namespace
