#include "client/browser/views/RestoreWindowFixture.h"

#include "client/browser/views/RemoteContextMenu.h"
#include "client/browser/views/VersionPaneView.h"
#include "common/texts/QLLocalizedString.h"
#include "engine/controllers/RuvoVersionRestoreController.h"

#include <QAction>
#include <QLabel>
#include <QTableView>

namespace {

// A restore as a user does it in the window: back up a folder, open Restore, open
// the tree down to the folder, check two files and a folder, choose a folder and restore.
class RestoreInTheWindowTest : public RestoreWindowFixture
{
protected:
    // Backs the source folder up twice, doc.txt changed in between; the tree path of doc.txt.
    QString docBackedUpTwice()
    {
        // The monitor's preference that keeps earlier versions on the drive.
        const QString preferences = QLLocalizedString("MonitorPreferencePath");
        QDir().mkpath(QFileInfo(preferences).path());
        PropertyList::write(preferences, QVariantMap{{"demo", QVariantMap{{"EnableVersion", true}}}});
        writeText(source() + "/doc.txt", "first content");
        backUp();
        writeText(source() + "/doc.txt", "second content, changed");
        alerts.answers = {1, 0};
        client->backup.page()->backupButton()->click();
        waitUntil([&] { return !client->backup.controller().isBackupRunning(); }, 60000);
        const QModelIndex doc = rowNamed(sourceRow(), "doc.txt");
        const TreeViewNode *node = doc.isValid() ? restoreTab->model->nodeAt(doc) : nullptr;
        return node ? node->fullPath() : QString();
    }

    // Opens the version pane for the file and waits for its list.
    void openVersions(const QString &treePath)
    {
        restoreTab->showVersionHistory(treePath);
        const VersionViewController &pane = restoreTab->versions->versionViewController();
        ASSERT_TRUE(waitUntil([&] { return !pane.isVersionHistoryProgressShown(); }, 20000));
    }

    RuvoVersionRestoreController &versionRestore() { return client->shell.mainController().VersionRestoreController(); }
};

TEST_F(RestoreInTheWindowTest, CheckedItemsComeBackByteForByteAndTheSessionIsLogged)
{
    openWithRestoreTab();
    // Before any backup the drive has no index: the tree ends its listing empty, never "Loading..." for good.
    EXPECT_TRUE(waitUntil([&] { return !restoreTab->tree.isListing(restoreTab->tree.rootItem()); }, 15000));
    EXPECT_TRUE(restoreTab->tree.rootItem().children().empty());
    ASSERT_NO_FATAL_FAILURE(backUp());
    client->shell.windows().tabViewController()->displayRestoreView();
    const QModelIndex folder = sourceRow();
    ASSERT_TRUE(folder.isValid()) << "the backup never showed in the tree: " << shownRows().toStdString();
    checkRow(rowNamed(folder, "one.txt"));
    checkRow(rowNamed(folder, "two.bin"));
    checkRow(rowNamed(folder, "Photos"));
    EXPECT_EQ(rowNamed(folder, "Photos").siblingAtColumn(RemoteTreeModel::SizeColumn).data().toString(), "-");

    RestorePageView &page = *restoreTab->page;
    page.destinationButton()->click();
    EXPECT_EQ(restoreTab->restore.restoreDestination(), target());
    alerts.answers = {0};  // "OK" at the end
    page.restoreButton()->click();
    ASSERT_TRUE(restoreTab->restore.isRestoreRunning()) << alerts.texts().join('\n').toStdString();
    ASSERT_TRUE(waitUntil([&] { return !restoreTab->restore.isRestoreRunning(); }, 60000));
    ASSERT_FALSE(alerts.shown.isEmpty());
    EXPECT_TRUE(alerts.texts().last().startsWith("Restore operation has been completed successfully"))
        << alerts.texts().join('\n').toStdString();

    for (const char *file : {"/one.txt", "/two.bin", "/Photos/beach.jpg", "/Photos/2014/old.jpg", "/Photos/link"})
        expectSame(target() + source() + QString(file), source() + QString(file));
    EXPECT_FALSE(QFileInfo::exists(target() + source() + "/skip.txt"));

    const QString sessionLog = restoreTab->restore.mRestoreSessionFilePath();
    EXPECT_TRUE(sessionLog.contains("/Restore/")) << sessionLog.toStdString();
    EXPECT_TRUE(readText(sessionLog).contains("Restored successfully"));
    EXPECT_TRUE(readText(sessionLog + ".summary").contains("Files restored  now: 5"))
        << readText(sessionLog + ".summary").constData();
    LogViewController &logs = *client->logTab.logs;
    client->shell.windows().tabViewController()->displayLogView();
    ASSERT_TRUE(waitUntil([&] { return recordOf(logs, sessionLog).has_value(); }, 20000)) << sessionLog.toStdString();
    const LogNode record = *recordOf(logs, sessionLog);
    EXPECT_EQ(record.optype, "3");  // the day file's code of "Restore"
    EXPECT_EQ(record.status, "Success");
    EXPECT_EQ(record.files.toInt(), 5);
}

// The session layer ends a restore that the engine stops over quota as a failure
// with the quota's text: the log and summary tell it, and no message claims success.
TEST_F(RestoreInTheWindowTest, ARestoreStoppedOverQuotaEndsAsAFailureWithItsText)
{
    openWithRestoreTab();
    ASSERT_NO_FATAL_FAILURE(backUp());
    const QModelIndex folder = sourceRow();
    ASSERT_TRUE(folder.isValid());
    checkRow(folder);
    ASSERT_TRUE(
        PropertyList::write(root() + "/scenario.plist",
                            QVariantMap{{"errorText", "some files could not be transferred due to quota over limit"}}));
    qputenv("TXRUVO_SCENARIO", (root() + "/scenario.plist").toUtf8());
    alerts.shown.clear();
    restoreTab->restore.restoreFiles();
    ASSERT_TRUE(waitUntil([&] { return !restoreTab->restore.isRestoreRunning(); }, 30000));
    const QString sessionLog = restoreTab->restore.mRestoreSessionFilePath();
    EXPECT_TRUE(readText(sessionLog).contains("Quota Exceeded")) << readText(sessionLog).constData();
    EXPECT_TRUE(readText(sessionLog).contains("Some of the files are not transferred."));
    const QByteArray summary = readText(sessionLog + ".summary");
    EXPECT_TRUE(summary.contains("Files considered for restore:")) << summary.constData();
    EXPECT_TRUE(alerts.shown.isEmpty()) << alerts.texts().join('\n').toStdString();
    EXPECT_FALSE(restoreTab->page->progressPane()->isVisibleTo(restoreTab->page));
    EXPECT_TRUE(restoreTab->page->restoreButton()->isEnabled());
    LogViewController &logs = *client->logTab.logs;
    client->shell.windows().tabViewController()->displayLogView();
    ASSERT_TRUE(waitUntil([&] { return recordOf(logs, sessionLog).has_value(); }, 20000));
    EXPECT_EQ(recordOf(logs, sessionLog)->status, "Failure");
}

TEST_F(RestoreInTheWindowTest, AStoppedRestoreEndsOnceAsCancel)
{
    openWithRestoreTab();
    ASSERT_NO_FATAL_FAILURE(backUp());
    const QModelIndex folder = sourceRow();
    ASSERT_TRUE(folder.isValid());
    checkRow(folder);
    ASSERT_TRUE(PropertyList::write(root() + "/scenario.plist", QVariantMap{{"lineDelayMs", 400}}));
    qputenv("TXRUVO_SCENARIO", (root() + "/scenario.plist").toUtf8());
    restoreTab->restore.restoreFiles();
    ASSERT_TRUE(waitUntil([&] { return restoreTab->page->progressPane()->isVisibleTo(restoreTab->page); }, 5000));
    ASSERT_TRUE(
        waitUntil([&] { return !restoreTab->restore.progressViewController().state().filePath.isEmpty(); }, 20000));
    // While it runs the sidebar's mode switch stays still.
    TXTabViewController &tabs = *client->shell.windows().tabViewController();
    const bool backupMode = tabs.sidebar()->mBackupMode();
    EXPECT_TRUE(client->shell.windows().runningActivity().restoreRunning);
    tabs.sidebar()->toggleAppMode();
    EXPECT_EQ(tabs.sidebar()->mBackupMode(), backupMode);
    restoreTab->page->progressPane()->stopButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !restoreTab->restore.isRestoreRunning(); }, 30000));
    EXPECT_FALSE(client->shell.windows().runningActivity().restoreRunning);
    const QByteArray log = readText(restoreTab->restore.mRestoreSessionFilePath());
    EXPECT_EQ(log.count("Restore operation cancelled"), 1) << log.constData();
    EXPECT_FALSE(restoreTab->page->progressPane()->isVisibleTo(restoreTab->page));
    EXPECT_TRUE(restoreTab->page->restoreButton()->isEnabled());
}

TEST_F(RestoreInTheWindowTest, AfterAFirstLoginTheGuidesShowOnTheRestorePageAndHideThemselves)
{
    openWithRestoreTab(RemoteGuideTimings{std::chrono::milliseconds(400)});
    ASSERT_FALSE(restoreTab->guides.remoteGuideCalledOnce()) << "the demo account's first login here";
    ASSERT_NO_FATAL_FAILURE(backUp());
    TXTabViewController &tabs = *client->shell.windows().tabViewController();
    RestorePageView &page = *restoreTab->page;
    const auto shown = [&page](const GuideImageView *image) { return image->isVisibleTo(&page); };
    const auto remoteGuideShown = [&] {
        const QList<GuideImageView *> images = page.remoteGuideImages();
        return std::all_of(images.begin(), images.end(), shown);
    };

    // A backup that stored files asks for the refresh guide at the next showing of Restore.
    tabs.displayRestoreView();
    EXPECT_TRUE(shown(page.refreshGuideImage()));
    EXPECT_DOUBLE_EQ(page.refreshGuideImage()->alphaValue(), 0.92);
    EXPECT_TRUE(waitUntil([&] { return !shown(page.refreshGuideImage()); }, 5000));

    // The tree listed rows: the Restore guide waits for the tab's next showing.
    ASSERT_TRUE(sourceRow().isValid()) << shownRows().toStdString();
    EXPECT_FALSE(remoteGuideShown());
    tabs.displayBackupView();
    tabs.displayRestoreView();
    ASSERT_TRUE(remoteGuideShown());
    EXPECT_DOUBLE_EQ(page.remoteGuideImages()[0]->alphaValue(), 0.8);
    EXPECT_DOUBLE_EQ(page.remoteGuideImages()[2]->alphaValue(), 0.9);
    const GuideImageView &overTree = *page.remoteGuideImages()[0];
    EXPECT_EQ(overTree.parentWidget(), page.treeView());
    EXPECT_EQ(overTree.y(), page.treeView()->height() - 4 * page.remoteGuideImages()[1]->height());
    const QList<GuideImageView *> images = page.remoteGuideImages();
    EXPECT_TRUE(waitUntil([&] { return std::none_of(images.begin(), images.end(), shown); }, 5000));

    // Once only: a listing and another showing bring it back no more.
    restoreTab->tree.refresh();
    waitUntil([&] { return !restoreTab->tree.isListing(restoreTab->tree.rootItem()); }, 5000);
    tabs.displayBackupView();
    tabs.displayRestoreView();
    EXPECT_FALSE(shown(page.remoteGuideImages()[0]));
}

TEST_F(RestoreInTheWindowTest, TheFirstVersionOfAFileBackedUpTwiceComesBackFromTheVersionPane)
{
    openWithRestoreTab();
    const QString doc = docBackedUpTwice();
    ASSERT_FALSE(doc.isEmpty()) << shownRows().toStdString();
    // The first time through the tree's menu, as a user opens it.
    RemoteContextMenu &menu = *restoreTab->page->contextMenu();
    menu.prepareFor(rowNamed(sourceRow(), "doc.txt"));
    ASSERT_TRUE(menu.action(RemoteMenuRules::Action::Versions)->isEnabled());
    menu.action(RemoteMenuRules::Action::Versions)->trigger();
    const VersionViewController &listed = restoreTab->versions->versionViewController();
    ASSERT_TRUE(waitUntil([&] { return !listed.isVersionHistoryProgressShown(); }, 20000));
    RestorePageView &page = *restoreTab->page;
    VersionPaneView &pane = *page.versionPane();
    ASSERT_TRUE(pane.isVisibleTo(&page));
    EXPECT_EQ(pane.fileLabel()->text(), "Versions of file: /" + doc);
    QAbstractItemModel &versions = *pane.tableView()->model();
    ASSERT_EQ(versions.rowCount(), 2);
    EXPECT_EQ(versions.index(0, 0).data().toString(), "1");
    EXPECT_EQ(versions.index(1, 0).data().toString(), "2");
    EXPECT_EQ(versions.index(0, 1).data().toString(), "13 B");
    EXPECT_TRUE(page.restoreButton()->isVisibleTo(&page));
    // The close button takes the pane out; asking again brings it back.
    pane.closeButton()->click();
    EXPECT_FALSE(pane.isVisibleTo(&page));
    ASSERT_NO_FATAL_FAILURE(openVersions(doc));
    ASSERT_TRUE(pane.isVisibleTo(&page));
    ASSERT_EQ(versions.rowCount(), 2);

    pane.tableView()->selectRow(0);
    page.destinationButton()->click();
    alerts.shown.clear();
    alerts.answers = {0};  // "OK" at the end
    page.restoreButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !restoreTab->restore.isRestoreRunning(); }, 30000));
    ASSERT_EQ(alerts.texts().size(), 1) << alerts.texts().join('\n').toStdString();
    EXPECT_TRUE(alerts.texts().first().startsWith("Restore operation has been completed successfully"));
    // The engine was asked for version 1 by name, and its bytes came back.
    EXPECT_TRUE(readText(versionRestore().operationFolder() + "/version").endsWith("_QLVER001"));
    EXPECT_EQ(readText(target() + "/doc.txt"), "first content");
    EXPECT_FALSE(pane.isVisibleTo(&page));
    EXPECT_TRUE(page.restoreButton()->isEnabled());
    EXPECT_TRUE(page.destinationButton()->isEnabled());
    EXPECT_FALSE(client->shell.windows().runningActivity().restoreRunning);
    EXPECT_TRUE(readText(versionRestore().sessionLogPath()).contains("File Version: 1"));
}

TEST_F(RestoreInTheWindowTest, AFailedVersionRestoreGivesTheButtonsBackAndSaysSo)
{
    openWithRestoreTab();
    const QString doc = docBackedUpTwice();
    ASSERT_FALSE(doc.isEmpty()) << shownRows().toStdString();
    openVersions(doc);
    RestorePageView &page = *restoreTab->page;
    page.versionPane()->tableView()->selectRow(1);
    page.destinationButton()->click();
    ASSERT_TRUE(
        PropertyList::write(root() + "/scenario.plist",
                            QVariantMap{{"errorText", "txruvo error: device is not connected"}, {"exitCode", 1}}));
    qputenv("TXRUVO_SCENARIO", (root() + "/scenario.plist").toUtf8());
    alerts.shown.clear();
    page.restoreButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !alerts.shown.isEmpty(); }, 30000));
    EXPECT_FALSE(restoreTab->restore.isRestoreRunning());
    ASSERT_EQ(alerts.texts().size(), 1);
    EXPECT_TRUE(alerts.texts().first().contains("device is not connected")) << alerts.texts().first().toStdString();
    EXPECT_FALSE(alerts.texts().first().contains("successfully"));
    EXPECT_TRUE(page.restoreButton()->isEnabled());
    EXPECT_TRUE(page.restoreButton()->isVisibleTo(&page));
    EXPECT_TRUE(page.destinationButton()->isEnabled());
    EXPECT_FALSE(page.progressPane()->isVisibleTo(&page));
    EXPECT_FALSE(client->shell.windows().runningActivity().restoreRunning);
}

}  // namespace
