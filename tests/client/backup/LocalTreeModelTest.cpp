#include "LocalTreeFixture.h"

#include "client/backup/localtree/LocalTreeModel.h"

#include <QAbstractItemModelTester>
#include <QMimeData>
#include <QUrl>

class LocalTreeModelTest : public LocalTreeFixture
{
protected:
    LocalTreeModel &model() { return controller().outlineModel(); }
    QModelIndex indexOf(const QString &treePath) { return model().indexForNode(node(treePath)); }
};

TEST_F(LocalTreeModelTest, TheModelStaysConsistentThroughListingTogglingAndDrives)
{
    QDir().mkpath(volumes() + "/Drive/Folder");
    controller().monitorVolumes();
    ASSERT_TRUE(settle());

    const QModelIndex documents = indexOf(tree("/Users/me/Documents"));
    EXPECT_EQ(documents.parent(), QModelIndex());  // shown at the top, above the drives
    EXPECT_FALSE(documents.data(LocalTreeModel::IsVolumeRole).toBool());
    EXPECT_TRUE(indexOf(volumes() + "/Drive").data(LocalTreeModel::IsVolumeRole).toBool());
    EXPECT_TRUE(indexOf(tree("/")).data(LocalTreeModel::IsVolumeRole).toBool());
    EXPECT_TRUE(model().hasChildren(documents));
    EXPECT_EQ(model().rowCount(documents), 0);
    ASSERT_TRUE(model().canFetchMore(documents));
    controller().expandNode(node(tree("/Users/me/Documents")));
    EXPECT_FALSE(model().canFetchMore(documents));
    const QModelIndex loading = model().index(0, LocalTreeModel::FileNameColumn, documents);
    EXPECT_TRUE(loading.data(LocalTreeModel::IsPlaceholderRole).toBool());
    EXPECT_EQ(loading.data().toString(), "Loading...");
    EXPECT_FALSE(loading.data(Qt::CheckStateRole).isValid());
    ASSERT_TRUE(settle());

    // The tester opens every folder it finds and checks each change of rows.
    QAbstractItemModelTester tester(&model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_TRUE(settle());
    const QModelIndex report = model().index(0, LocalTreeModel::FileNameColumn, documents);
    EXPECT_EQ(report.data().toString(), "report.txt");
    EXPECT_EQ(report.siblingAtColumn(LocalTreeModel::SizeColumn).data().toString(), "5 B");
    EXPECT_EQ(report.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);

    EXPECT_TRUE(model().setData(report, Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(report.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    EXPECT_EQ(documents.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    EXPECT_EQ(indexOf(tree("/")).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::PartiallyChecked);

    model().fetchMore(indexOf(volumes() + "/Drive"));
    ASSERT_TRUE(settle());
    QDir(volumes() + "/Drive").removeRecursively();
    ASSERT_TRUE(waitFor([&] { return node(volumes() + "/Drive") == nullptr; }));
    mount(QStringLiteral("Other"), {});
    ASSERT_TRUE(waitFor([&] { return node(volumes() + "/Other") != nullptr; }));

    controller().refreshNode(node(tree("/Users/me/Documents")));
    ASSERT_TRUE(settle());
    EXPECT_EQ(state(tree("/Users/me/Documents/report.txt")), TreeViewNode::Checked);
    controller().reload();
    ASSERT_TRUE(settle());
    EXPECT_EQ(savedSet(), QStringList{"/Users/me/Documents"});
}

TEST_F(LocalTreeModelTest, DroppedFilesAreSelected)
{
    ASSERT_TRUE(settle());
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(startup() + "/Users/me/code")});
    ASSERT_TRUE(model().canDropMimeData(&dropped, Qt::CopyAction, -1, -1, {}));
    EXPECT_TRUE(model().dropMimeData(&dropped, Qt::CopyAction, -1, -1, {}));
    EXPECT_EQ(savedSet(), QStringList{"/Users/me/code"});

    QMimeData text;
    text.setText(QStringLiteral("not a file"));
    EXPECT_FALSE(model().canDropMimeData(&text, Qt::CopyAction, -1, -1, {}));
}

TEST_F(LocalTreeModelTest, CancellingEndsAListingBeforeItsNextEntry)
{
    ASSERT_TRUE(settle());
    const QString crowded = startup() + "/Users/me/code";
    for (int i = 0; i <= kEntriesPerListingPause; ++i)
        writeText(crowded + "/f" + QString::number(i), "");
    TreeViewNode *folder = node(tree("/Users/me/code"));
    controller().expandNode(folder);
    controller().setmCancelOperation(true);
    ASSERT_TRUE(settle());
    EXPECT_EQ(folder->children().size(), 1u);
    EXPECT_TRUE(folder->children().front()->isPlaceholder());

    controller().setmCancelOperation(false);
    ASSERT_TRUE(model().canFetchMore(indexOf(tree("/Users/me/code"))));
    model().fetchMore(indexOf(tree("/Users/me/code")));
    ASSERT_TRUE(settle());
    EXPECT_EQ(folder->children().size(), size_t(kEntriesPerListingPause + 1));
}

// The engine stores a link as a link and never follows it: the tree shows it as
// an item of its own, without a size and never opened.
TEST_F(LocalTreeModelTest, LinksShowAsLinksWithoutASizeAndDoNotOpen)
{
    const QString documents = mLayout.homeFolder + "/Documents";
    QDir().mkpath(root() + "/elsewhere/project");
    ASSERT_TRUE(QFile::link(root() + "/elsewhere/project", documents + "/project link"));
    ASSERT_TRUE(QFile::link("report.txt", documents + "/report link"));
    ASSERT_TRUE(QFile::link(root() + "/nowhere", documents + "/broken link"));
    controller().monitorVolumes();
    ASSERT_TRUE(settle());
    open(tree("/Users/me/Documents"));

    using Link = TreeViewNode::Link;
    const struct
    {
        const char *name;
        Link link;
        bool isDirectory;
        const char *size;
    } cases[] = {
        {"project link", Link::ToFolder, false, ""},
        {"report link", Link::ToFile, false, ""},
        {"broken link", Link::ToFile, false, ""},
        {"report.txt", Link::NotALink, false, "5 B"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QModelIndex item = indexOf(tree("/Users/me/Documents/") + c.name);
        ASSERT_TRUE(item.isValid());
        EXPECT_EQ(Link(item.data(LocalTreeModel::LinkRole).toInt()), c.link);
        EXPECT_EQ(item.data(LocalTreeModel::IsDirectoryRole).toBool(), c.isDirectory);
        EXPECT_EQ(item.siblingAtColumn(LocalTreeModel::SizeColumn).data().toString(), c.size);
        EXPECT_FALSE(model().hasChildren(item));
        EXPECT_FALSE(model().canFetchMore(item));
    }
}
