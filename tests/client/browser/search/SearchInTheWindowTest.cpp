#include "client/browser/views/RestoreWindowFixture.h"

#include "client/browser/search/SearchController.h"
#include "client/browser/views/RestorePageView.h"
#include "client/browser/views/RestoreTab.h"
#include "client/browser/views/SearchPageView.h"
#include "client/browser/views/SearchTab.h"
#include "client/browser/views/SearchTableModel.h"
#include "client/browser/views/VersionPaneView.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/texts/QLLocalizedString.h"
#include "desktop/kit/views/TXAnimatedTextField.h"
#include "desktop/kit/views/TXTabView.h"
#include "platform/PropertyList.h"
#include "support/ScriptedAlerts.h"

#include <QFileInfo>
#include <QMenu>
#include <QProgressBar>
#include <QTableView>
#include <QUrlQuery>

namespace {

// The Search tab as a user meets it: a backup of two folders, a key typed in the
// sidebar's search field, the rows it finds, and what is done with them.
class SearchInTheWindowTest : public RestoreWindowFixture
{
protected:
    void SetUp() override
    {
        RestoreWindowFixture::SetUp();
        writeText(source() + "/report-one.txt", QByteArray(700, 'a'));
        writeText(source() + "/other.txt", "not a report");
        writeText(source() + "/Work/report-two.bin", QByteArray(1500, 'b'));
        writeText(source() + "/Work/it's 100%_odd.txt", "odd name");
        writeText(source() + "/Work/.report-hidden", "hidden");
        // The monitor's preference that keeps earlier versions on the drive.
        const QString preferences = QLLocalizedString("MonitorPreferencePath");
        QDir().mkpath(QFileInfo(preferences).path());
        PropertyList::write(preferences, QVariantMap{{"demo", QVariantMap{{"EnableVersion", true}}}});
        openWithRestoreTab();
        searchTab = std::make_unique<SearchTab>(client->shell, *restoreTab, &alerts);
        ASSERT_NO_FATAL_FAILURE(backUp());
        alerts.shown.clear();
    }

    void TearDown() override
    {
        searchTab.reset();
        RestoreWindowFixture::TearDown();
    }

    TXTabViewController &sidebar() { return *client->shell.windows().tabViewController(); }
    SearchController &search() { return searchTab->controller; }

    // Types the key into the sidebar's search field and presses Return.
    void type(const QString &key)
    {
        sidebar().sidebar()->mSearchField()->setText(key);
        sidebar().search();
    }

    // The names of the rows shown, in table order.
    QStringList shownNames() const
    {
        QStringList names;
        const SearchTableModel &model = *searchTab->model;
        for (int row = 0; row < model.rowCount(); ++row)
            names.append(QFileInfo(model.index(row, SearchTableModel::NameColumn).data().toString()).fileName());
        return names;
    }

    // Searches until the index has learnt of the backup (at its next merge) and the rows show.
    bool searchUntilFound(const QString &key, qsizetype rows)
    {
        return waitUntil(
            [&] {
                type(key);
                waitUntil([&] { return !search().isSearching(); }, 5000);
                return searchTab->model->rowCount() == rows;
            },
            40000);
    }

    int rowNamed(const QString &name) const { return int(shownNames().indexOf(name)); }

    // Where the stand-in engine keeps a found file: at its path in its computer's folder on the drive.
    QString storedFileOf(const FileSystemNode &row) const
    {
        return volumes() + "/BackupDrive/TarnixVidezud/demo" + row.mpcName + row.path;
    }

    // Runs the entry of the results' context menu over the named row.
    void chooseFromMenu(const QString &name, SearchController::MenuItem item)
    {
        QMenu *menu = searchTab->page->contextMenuFor(rowNamed(name));
        for (QAction *action : menu->actions()) {
            if (action->data().toInt() == int(item)) {
                ASSERT_TRUE(action->isEnabled()) << action->text().toStdString();
                action->trigger();
                return;
            }
        }
        FAIL() << "no such menu entry";
    }

    void checkRow(const QString &name)
    {
        const int row = rowNamed(name);
        ASSERT_GE(row, 0) << name.toStdString();
        ASSERT_TRUE(searchTab->model->setData(searchTab->model->index(row, SearchTableModel::NameColumn), Qt::Checked,
                                              Qt::CheckStateRole));
    }

    std::unique_ptr<SearchTab> searchTab;
};

TEST_F(SearchInTheWindowTest, ATypedKeyShowsItsRowsAndAKeyTypedMeanwhileShowsOnlyItsOwn)
{
    ASSERT_TRUE(searchUntilFound("report", 2)) << shownNames().join(", ").toStdString();
    EXPECT_EQ(sidebar().tabView()->currentIndex(), int(Tab::Search));
    // Sorted by folder once finished; the hidden file stays out.
    EXPECT_EQ(shownNames(), (QStringList{"report-one.txt", "report-two.bin"}));
    EXPECT_EQ(searchTab->page->resultLine()->text(), "2 items found");
    EXPECT_FALSE(searchTab->page->spinner()->isVisibleTo(searchTab->page));
    const QModelIndex size = searchTab->model->index(0, SearchTableModel::SizeColumn);
    EXPECT_EQ(size.data().toString(), "700 B");
    EXPECT_FALSE(searchTab->model->index(0, SearchTableModel::DateColumn).data().toString().isEmpty());

    // A second key typed before the first search has handed over anything.
    type("report");
    type("other");
    ASSERT_TRUE(waitUntil([&] { return !search().isSearching(); }, 10000));
    // Whatever the replaced search still delivers is dropped.
    QCoreApplication::processEvents();
    EXPECT_EQ(shownNames(), QStringList{"other.txt"});
    EXPECT_EQ(searchTab->page->resultLine()->text(), "1 item found");

    // Quotes, "%" and "_" are the key's own letters; "*" stands for any text.
    type("it's 100%_*.txt");
    ASSERT_TRUE(waitUntil([&] { return !search().isSearching(); }, 10000));
    EXPECT_EQ(shownNames(), QStringList{"it's 100%_odd.txt"});
    type("ghost");
    ASSERT_TRUE(waitUntil([&] { return !search().isSearching(); }, 10000));
    EXPECT_TRUE(shownNames().isEmpty());
    EXPECT_EQ(searchTab->page->resultLine()->text(), "Items not found");

    // Back to Restore: the rows and the search text go.
    searchTab->page->backButton()->click();
    EXPECT_EQ(sidebar().tabView()->currentIndex(), int(Tab::Restore));
    EXPECT_TRUE(sidebar().sidebar()->mSearchField()->text().isEmpty());
}

TEST_F(SearchInTheWindowTest, CheckedRowsOfTwoFoldersComeBackByteForByteAndOneRestoreRunsAtATime)
{
    ASSERT_TRUE(searchUntilFound("report", 2));
    checkRow("report-one.txt");
    checkRow("report-two.bin");
    SearchPageView &page = *searchTab->page;
    page.destinationButton()->click();
    EXPECT_EQ(page.destinationLabel()->text(), target());

    // Slowed down, so that the second requests meet it running.
    ASSERT_TRUE(PropertyList::write(root() + "/scenario.plist", QVariantMap{{"lineDelayMs", 1000}}));
    qputenv("TXRUVO_SCENARIO", (root() + "/scenario.plist").toUtf8());
    alerts.answers = {0, 1, 0};  // "OK" to the refusal; "Yes" to the delete; "OK" at the end
    page.restoreButton()->click();
    ASSERT_TRUE(restoreTab->restore.isRestoreRunning()) << alerts.texts().join('\n').toStdString();
    EXPECT_FALSE(page.restoreButton()->isEnabled());
    EXPECT_EQ(page.restoreButton()->toolTip(), "Restore in progress");
    EXPECT_FALSE(restoreTab->page->restoreButton()->isEnabled()) << "the Restore tab waits too";

    // A second restore is refused from the results' menu, and the Restore tab starts none.
    chooseFromMenu("report-one.txt", SearchController::MenuItem::Restore);
    ASSERT_FALSE(alerts.shown.isEmpty());
    EXPECT_EQ(alerts.shown.last().title, "Restore in progress");
    const QString sessionLog = restoreTab->restore.mRestoreSessionFilePath();
    restoreTab->restore.RstoreFileFromServer();
    EXPECT_EQ(restoreTab->restore.mRestoreSessionFilePath(), sessionLog);

    // A delete of another row meanwhile keeps its lines in its own log.
    type("other");
    ASSERT_TRUE(waitUntil([&] { return !search().isSearching(); }, 10000));
    chooseFromMenu("other.txt", SearchController::MenuItem::Delete);
    ASSERT_TRUE(waitUntil([&] { return !searchTab->operations.deleteOperation().isRunning(); }, 30000));
    EXPECT_TRUE(restoreTab->restore.isRestoreRunning()) << "the delete ran beside the restore";
    const QByteArray deleteLog = readText(searchTab->operations.deleteOperation().sessionLogPath());
    EXPECT_TRUE(deleteLog.contains("Deleted file: ")) << deleteLog.constData();
    EXPECT_FALSE(deleteLog.contains("report")) << deleteLog.constData();

    ASSERT_TRUE(waitUntil([&] { return !restoreTab->restore.isRestoreRunning(); }, 60000));
    EXPECT_TRUE(alerts.texts().last().startsWith("Restore operation has been completed successfully"))
        << alerts.texts().join('\n').toStdString();
    for (const char *file : {"/report-one.txt", "/Work/report-two.bin"})
        EXPECT_EQ(readText(target() + source() + file), readText(source() + file)) << file;
    EXPECT_FALSE(QFileInfo::exists(target() + source() + "/other.txt"));
    EXPECT_TRUE(page.restoreButton()->isEnabled());
    EXPECT_EQ(page.restoreButton()->toolTip(), "Restore files");
    EXPECT_TRUE(restoreTab->page->restoreButton()->isEnabled());

    const QByteArray log = readText(sessionLog);
    EXPECT_TRUE(log.contains("Restore location: " + target().toUtf8() + "\n")) << log.constData();
    EXPECT_TRUE(log.contains("Restored successfully,")) << log.constData();
    EXPECT_FALSE(log.contains("Delete")) << log.constData();
    EXPECT_TRUE(readText(sessionLog + ".summary").contains("Files restored  now: 2"))
        << readText(sessionLog + ".summary").constData();
}

TEST_F(SearchInTheWindowTest, ADeletedRowLeavesTheTableTheDriveAndTheIndex)
{
    ASSERT_TRUE(searchUntilFound("report", 2));
    const FileSystemNode deleted = search().results().at(rowNamed("report-one.txt"));
    ASSERT_TRUE(QFileInfo::exists(storedFileOf(deleted))) << storedFileOf(deleted).toStdString();
    alerts.answers = {1};  // "Yes" to the question
    chooseFromMenu("report-one.txt", SearchController::MenuItem::Delete);
    ASSERT_FALSE(alerts.shown.isEmpty());
    EXPECT_EQ(alerts.texts().last(), "Would you like to delete the selected item(s)?");
    ASSERT_TRUE(waitUntil([&] { return !searchTab->operations.deleteOperation().isRunning(); }, 30000));
    EXPECT_EQ(shownNames(), QStringList{"report-two.bin"});
    EXPECT_EQ(searchTab->page->resultLine()->text(), "1 item deleted");
    EXPECT_FALSE(QFileInfo::exists(storedFileOf(deleted)));
    EXPECT_TRUE(QFileInfo::exists(storedFileOf(search().results().at(0)))) << "the other row stays stored";
    const QByteArray log = readText(searchTab->operations.deleteOperation().sessionLogPath());
    EXPECT_TRUE(log.contains("Deleted file: ")) << log.constData();
    // The index forgets it at its next merge.
    EXPECT_TRUE(searchUntilFound("report", 1)) << shownNames().join(", ").toStdString();
    EXPECT_EQ(shownNames(), QStringList{"report-two.bin"});
}

TEST_F(SearchInTheWindowTest, ASharedRowOpensItsSharePage)
{
    ASSERT_TRUE(searchUntilFound("report", 2));
    chooseFromMenu("report-two.bin", SearchController::MenuItem::Share);
    ASSERT_TRUE(waitUntil([&] { return !workspace.openedAddresses.isEmpty(); }, 20000))
        << alerts.texts().join('\n').toStdString();
    const QUrl page = workspace.openedAddresses.last();
    EXPECT_TRUE(page.path().endsWith("/desktop/Auto")) << page.toString().toStdString();
    EXPECT_FALSE(QUrlQuery(page).queryItemValue("token").isEmpty()) << page.toString().toStdString();

    // With nothing checked the button says so and asks for no page.
    searchTab->page->shareButton()->click();
    EXPECT_EQ(alerts.texts().last(), "Select file(s)/folder(s) to share");
    EXPECT_EQ(workspace.openedAddresses.size(), 1);

    // Help opens the search's help page on the brand's web site.
    searchTab->page->helpButton()->click();
    ASSERT_EQ(workspace.openedAddresses.size(), 2);
    EXPECT_EQ(workspace.openedAddresses.last().path(), "/help/Mac/search.htm");
}

TEST_F(SearchInTheWindowTest, TheVersionsOfARowShowInThePaneAndTheNextSearchClosesIt)
{
    writeText(source() + "/report-one.txt", "changed since the first backup");
    alerts.answers = {1, 0};
    client->backup.page()->backupButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !client->backup.controller().isBackupRunning(); }, 60000));
    // The index learns of the second version at its next merge.
    ASSERT_TRUE(waitUntil(
        [&] {
            type("report-one");
            waitUntil([&] { return !search().isSearching(); }, 5000);
            return shownNames() == QStringList{"report-one.txt"} &&
                   searchTab->model->index(0, SearchTableModel::VersionColumn).data().toString() == "2";
        },
        40000))
        << shownNames().join(", ").toStdString();

    chooseFromMenu("report-one.txt", SearchController::MenuItem::Versions);
    SearchPageView &page = *searchTab->page;
    VersionPaneView &pane = *page.versionPane();
    ASSERT_TRUE(pane.isVisibleTo(&page));
    const VersionViewController &versions = searchTab->versions->versionViewController();
    ASSERT_TRUE(waitUntil([&] { return !versions.isVersionHistoryProgressShown(); }, 20000));
    EXPECT_EQ(pane.tableView()->model()->rowCount(), 2) << pane.fileLabel()->text().toStdString();
    EXPECT_TRUE(pane.fileLabel()->text().startsWith("Versions of file: /")) << pane.fileLabel()->text().toStdString();

    type("other");
    EXPECT_FALSE(pane.isVisibleTo(&page));
}

}  // namespace
