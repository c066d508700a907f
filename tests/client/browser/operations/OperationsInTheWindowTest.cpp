#include "client/browser/views/RestoreWindowFixture.h"

#include "client/browser/operations/FolderSizeRules.h"
#include "client/browser/operations/RenameRules.h"
#include "client/browser/views/RemoteContextMenu.h"
#include "common/files/TXSupportFileManager.h"

#include <QAction>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QUrlQuery>

namespace {

using RemoteMenuRules::Action;

// The tree's operations as a user runs them in the window, against the stand-in
// engine and web service: a backup of the source folder with two more folders,
// docs (a.txt, sub/b.txt) and docs2 (c.txt), then the Restore page's menu.
class OperationsInTheWindowTest : public RestoreWindowFixture
{
protected:
    void backUpWithFolders()
    {
        writeText(source() + "/docs/a.txt", "a");
        writeText(source() + "/docs/sub/b.txt", "bb");
        writeText(source() + "/docs2/c.txt", "ccc");
        openWithRestoreTab();
        ASSERT_NO_FATAL_FAILURE(backUp());
        client->shell.windows().tabViewController()->displayRestoreView();
        folder = sourceRow();
        ASSERT_TRUE(folder.isValid()) << shownRows().toStdString();
    }

    RestorePageView &page() { return *restoreTab->page; }
    RemoteContextMenu &menu() { return *page().contextMenu(); }
    RemoteOperations &operations() { return restoreTab->operations; }

    // Opens the menu's entries for a row (none: off the rows) and runs one when it is enabled.
    bool runFromMenu(const QModelIndex &row, Action action)
    {
        menu().prepareFor(row);
        if (!menu().action(action)->isEnabled())
            return false;
        menu().action(action)->trigger();
        return true;
    }

    // Every stored item below the backup drive whose path ends so.
    QStringList storedItems(const QString &ending) const
    {
        QStringList found;
        QDirIterator walk(volumes() + "/BackupDrive", QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                          QDirIterator::Subdirectories);
        while (walk.hasNext()) {
            const QString path = walk.next();
            if (path.endsWith(ending))
                found << path;
        }
        return found;
    }

    QStringList childNames(const QModelIndex &parent)
    {
        QStringList names;
        RemoteTreeModel &model = *restoreTab->model;
        for (int row = 0; row < model.rowCount(parent); ++row)
            names << model.index(row, RemoteTreeModel::NameColumn, parent).data().toString();
        return names;
    }

    QString statusFile() const
    {
        return TXSupportFileManager::txFileManager().pathForApplicationFile(
            ApplicationFile::DatabaseReIndexingStatusPath);
    }

    QModelIndex folder;
};

TEST_F(OperationsInTheWindowTest, ARenamedFolderMovesOnTheDriveAndInTheTreeWhileItsSiblingStillOpens)
{
    ASSERT_NO_FATAL_FAILURE(backUpWithFolders());
    const QModelIndex docs = rowNamed(folder, "docs");
    const QModelIndex docs2 = rowNamed(folder, "docs2");
    ASSERT_TRUE(docs.isValid() && docs2.isValid()) << shownRows().toStdString();
    QTreeView &tree = *page().treeView();
    client->shell.windows().mainWindow()->show();

    // The menu opens the name for editing, all of it selected; the edit ends with the new name.
    ASSERT_TRUE(runFromMenu(docs, Action::Rename));
    QLineEdit *editor = tree.viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->selectedText(), "docs");
    editor->setText("papers");
    QAbstractItemDelegate &delegate = *tree.itemDelegateForIndex(docs.siblingAtColumn(RemoteTreeModel::NameColumn));
    emit delegate.commitData(editor);
    emit delegate.closeEditor(editor);

    // The drive has moved; the index follows on its worker thread. Meanwhile docs stays shut, docs2 opens.
    ASSERT_TRUE(operations().rename().isRunning()) << alerts.texts().join('\n').toStdString();
    EXPECT_FALSE(restoreTab->model->canFetchMore(docs));
    tree.expand(docs);
    EXPECT_FALSE(tree.isExpanded(docs));
    EXPECT_TRUE(restoreTab->model->canFetchMore(docs2));
    tree.expand(docs2);
    EXPECT_TRUE(tree.isExpanded(docs2));

    ASSERT_TRUE(waitUntil([&] { return !operations().rename().isRunning(); }, 20000));
    EXPECT_FALSE(page().spinner()->isVisibleTo(&page()));
    const QStringList names = childNames(folder);
    EXPECT_TRUE(names.contains("papers")) << names.join(", ").toStdString();
    EXPECT_FALSE(names.contains("docs"));
    EXPECT_FALSE(storedItems(source() + "/papers/sub/b.txt").isEmpty());
    EXPECT_TRUE(storedItems(source() + "/docs").isEmpty());
    EXPECT_FALSE(storedItems(source() + "/docs2/c.txt").isEmpty());
    // The renamed folder lists its items from the index under the new name.
    const QModelIndex papers = rowNamed(folder, "papers");
    EXPECT_TRUE(rowNamed(papers, "sub").isValid()) << shownRows().toStdString();
    EXPECT_TRUE(rowNamed(papers, "a.txt").isValid());
    EXPECT_TRUE(readText(operations().rename().sessionLogPath()).contains("Renamed file")) << "rename session log";

    // A sibling's name is refused with a message, and nothing moves.
    alerts.shown.clear();
    restoreTab->model->setData(rowNamed(folder, "papers").siblingAtColumn(RemoteTreeModel::NameColumn), "docs2",
                               Qt::EditRole);
    EXPECT_EQ(alerts.texts(), QStringList{RenameRules::kTakenNameText.arg("docs2")});
    EXPECT_FALSE(operations().rename().isRunning());
}

TEST_F(OperationsInTheWindowTest, DeletedItemsLeaveTheDriveTheTreeAndAfterARelistTheIndex)
{
    ASSERT_NO_FATAL_FAILURE(backUpWithFolders());
    ASSERT_FALSE(storedItems(source() + "/one.txt").isEmpty());

    // The clicked file, from the menu, after the question.
    alerts.shown.clear();
    alerts.answers = {1};
    ASSERT_TRUE(runFromMenu(rowNamed(folder, "one.txt"), Action::Delete));
    EXPECT_EQ(alerts.texts(), QStringList{DeleteOperation::kQuestionText});
    EXPECT_EQ(page().operationLine()->text(), "Deleting...");
    ASSERT_TRUE(waitUntil([&] { return !operations().deletion().isRunning(); }, 60000));
    EXPECT_FALSE(childNames(folder).contains("one.txt"));
    EXPECT_TRUE(storedItems(source() + "/one.txt").isEmpty());
    const QByteArray log = readText(operations().deletion().sessionLogPath());
    EXPECT_TRUE(log.contains("Deleted file: ")) << log.constData();
    EXPECT_TRUE(log.contains("Deleted successfully"));

    // A checked folder, from the button.
    checkRow(rowNamed(folder, "docs"));
    alerts.answers = {1};
    page().deleteButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !operations().deletion().isRunning(); }, 60000));
    EXPECT_FALSE(childNames(folder).contains("docs"));
    EXPECT_TRUE(storedItems(source() + "/docs/a.txt").isEmpty());
    EXPECT_TRUE(storedItems(source() + "/docs/sub/b.txt").isEmpty());
    EXPECT_FALSE(storedItems(source() + "/docs2/c.txt").isEmpty()) << "the sibling stays";
    EXPECT_FALSE(client->shell.mainController().isOperationActive());

    // The index has forgotten them once it has merged its delete queue.
    EXPECT_TRUE(waitUntil(
        [&] {
            folder = sourceRow();
            if (!rowNamed(folder, "two.bin").isValid())  // lists the folder
                return false;
            const QStringList names = childNames(folder);
            return !names.contains("one.txt") && !names.contains("docs");
        },
        60000))
        << shownRows().toStdString();
}

TEST_F(OperationsInTheWindowTest, AReIndexHoldsEveryOperationOffUntilItsOneEndAndListsTheTreeAgain)
{
    ASSERT_NO_FATAL_FAILURE(backUpWithFolders());
    TXMainController &main = client->shell.mainController();
    QList<bool> flags;
    QObject::connect(&main, &TXMainController::reIndexInProgressChanged, [&flags](bool on) { flags << on; });
    // The engine takes its time, so the run can be watched.
    ASSERT_TRUE(PropertyList::write(root() + "/scenario.plist", QVariantMap{{"lineDelayMs", 100}}));
    qputenv("TXRUVO_SCENARIO", (root() + "/scenario.plist").toUtf8());

    alerts.shown.clear();
    alerts.answers = {1};
    ASSERT_TRUE(runFromMenu(QModelIndex(), Action::ReIndex));
    ASSERT_TRUE(operations().reIndex().isRunning());
    EXPECT_TRUE(main.isReIndexInProgress());
    EXPECT_TRUE(QFileInfo::exists(statusFile()));
    EXPECT_EQ(page().operationLine()->text(), "Re-indexing express data");
    EXPECT_TRUE(page().spinner()->isVisibleTo(&page()));
    EXPECT_EQ(restoreTab->model->rowCount(), 0) << "nothing is listed from an index being replaced";

    // Every gated action answers with the alert; the menu offers no second re-index.
    alerts.shown.clear();
    operations().refresh();
    page().restoreButton()->click();
    page().deleteButton()->click();
    EXPECT_EQ(alerts.texts(), QStringList(3, RemoteActivity::kReIndexText));
    menu().prepareFor(QModelIndex());
    EXPECT_FALSE(menu().action(Action::ReIndex)->isEnabled());

    ASSERT_TRUE(waitUntil([&] { return !operations().reIndex().isRunning(); }, 60000));
    EXPECT_EQ(flags, (QList<bool>{true, false}));
    EXPECT_FALSE(main.isReIndexInProgress());
    EXPECT_FALSE(QFileInfo::exists(statusFile()));
    EXPECT_FALSE(page().spinner()->isVisibleTo(&page()));
    EXPECT_FALSE(alerts.texts().contains(ReIndexOperation::kFailedText)) << alerts.texts().join('\n').toStdString();
    // The tree is listed again, from the rebuilt index.
    EXPECT_TRUE(waitUntil(
        [&] { return !restoreTab->tree.isListing(restoreTab->tree.rootItem()) && restoreTab->model->rowCount() > 0; },
        20000))
        << shownRows().toStdString();
    // The rebuilt index keys the items as the backups did: the backed-up folders are where they were.
    const QModelIndex rebuilt = sourceRow();
    ASSERT_TRUE(rebuilt.isValid()) << shownRows().toStdString();
    EXPECT_TRUE(rowNamed(rowNamed(rebuilt, "docs"), "a.txt").isValid()) << shownRows().toStdString();
}

TEST_F(OperationsInTheWindowTest, AFailedReIndexEndsOnceSaysSoAndKeepsThePreviousIndex)
{
    ASSERT_NO_FATAL_FAILURE(backUpWithFolders());
    TXMainController &main = client->shell.mainController();
    QList<bool> flags;
    QObject::connect(&main, &TXMainController::reIndexInProgressChanged, [&flags](bool on) { flags << on; });
    // The engine reports errors while it lists: its listing cannot be trusted.
    ASSERT_TRUE(PropertyList::write(root() + "/scenario.plist",
                                    QVariantMap{{"errorText", "txruvo error: read error on the drive"}}));
    qputenv("TXRUVO_SCENARIO", (root() + "/scenario.plist").toUtf8());
    alerts.shown.clear();
    alerts.answers = {1};
    ASSERT_TRUE(runFromMenu(QModelIndex(), Action::ReIndex));
    ASSERT_TRUE(waitUntil([&] { return !operations().reIndex().isRunning(); }, 60000));
    qunsetenv("TXRUVO_SCENARIO");
    EXPECT_EQ(flags, (QList<bool>{true, false})) << "the error texts did not end the run";
    EXPECT_FALSE(operations().reIndex().errors().isEmpty());
    EXPECT_TRUE(alerts.texts().contains(ReIndexOperation::kFailedText)) << alerts.texts().join('\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(statusFile()));
    folder = sourceRow();
    ASSERT_TRUE(folder.isValid()) << "the previous index still lists the backup";
    EXPECT_TRUE(rowNamed(folder, "docs").isValid());
}

TEST_F(OperationsInTheWindowTest, ShareOpensTheStandInsPageForTheClickedItem)
{
    ASSERT_NO_FATAL_FAILURE(backUpWithFolders());
    const QModelIndex file = rowNamed(folder, "one.txt");
    const QString path = restoreTab->model->nodeAt(file)->fullPath();
    ASSERT_TRUE(runFromMenu(file, Action::Share));
    ASSERT_TRUE(waitUntil([&] { return !workspace.openedAddresses.isEmpty(); }, 20000))
        << alerts.texts().join('\n').toStdString();
    const QUrl page = workspace.openedAddresses.first();
    EXPECT_EQ(page.scheme(), "https");
    EXPECT_EQ(page.path(), "/tarnix/desktop/Auto");
    EXPECT_FALSE(QUrlQuery(page).queryItemValue("token").isEmpty());
    // The service was asked for exactly this item.
    const QList<QJsonObject> requests = service->requests();
    const auto share = std::find_if(requests.begin(), requests.end(), [](const QJsonObject &request) {
        return request["path"].toString() == "/tarnix/desktop/getToken" &&
               request["fields"].toObject()["op_type"].toString() == "share";
    });
    ASSERT_NE(share, requests.end());
    EXPECT_EQ((*share)["fields"].toObject()["filePaths"].toString(), "/" + path);
    EXPECT_FALSE((*share)["body"].toString().contains("demo password")) << "the log holds no password";
}

TEST_F(OperationsInTheWindowTest, FolderSizeShowsTheIndexsFigure)
{
    ASSERT_NO_FATAL_FAILURE(backUpWithFolders());
    alerts.shown.clear();
    ASSERT_TRUE(runFromMenu(rowNamed(folder, "docs"), Action::FolderSize));
    ASSERT_TRUE(waitUntil([&] { return !alerts.shown.isEmpty(); }, 20000));
    EXPECT_EQ(alerts.texts(), QStringList{"Size of folder 'docs'  is 3 B\nContains: 2 files"});
    EXPECT_FALSE(page().spinner()->isVisibleTo(&page()));
    EXPECT_FALSE(client->shell.mainController().isOperationActive());
}

}  // namespace
