#include "client/browser/views/RemoteTreeModel.h"
#include "client/browser/tree/RemoteTreeController.h"
#include "common/account/User.h"

#include "client/browser/BrowserFakes.h"

#include <QTreeView>

#include <gtest/gtest.h>

namespace {

// The model over the tree while items are renamed and deleted, shown in a view that keeps
// indexes of its own: every index of a row that goes is let go (none points at a gone node).
TEST(RemoteTreeModelTest, RenamedAndDeletedRowsKeepTheModelConsistent)
{
    ManualFolderListing listing;
    RemoteTreeController tree(listing, {});
    const User account;
    RemoteTreeModel model(tree, [&account]() -> const User & { return account; });
    QTreeView view;
    view.setModel(&model);
    tree.refresh();
    ASSERT_TRUE(listing.finish("", {folderEntry("A"), fileEntry("c.txt")}));
    tree.expandNode(*tree.nodeForPath("A"));
    ASSERT_TRUE(listing.finish("A", {folderEntry("sub"), fileEntry("x")}));
    tree.expandNode(*tree.nodeForPath("A/sub"));
    ASSERT_TRUE(listing.finish("A/sub", {fileEntry("deep")}));
    view.expandAll();
    const QPersistentModelIndex deep = model.indexOf(tree.nodeForPath("A/sub/deep"));
    view.setCurrentIndex(deep);
    EXPECT_EQ(model.parent(deep), model.indexOf(tree.nodeForPath("A/sub"), 0)) << "rows hang below first columns";

    tree.renameNode("A", "B");
    EXPECT_EQ(model.index(0, RemoteTreeModel::NameColumn).data().toString(), "B");
    EXPECT_EQ(deep.data(Qt::ToolTipRole).toString(), "B/sub/deep");

    tree.deleteNodeFromTreeWithPath("B/sub/deep");
    EXPECT_FALSE(deep.isValid());
    tree.deleteNodeFromTreeWithPath("B/sub");
    tree.deleteNodeFromTreeWithPath("c.txt");
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 1);
    tree.deleteNodeFromTreeWithPath("B");
    EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
