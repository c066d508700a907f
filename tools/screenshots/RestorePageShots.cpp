#include "RestorePageShots.h"

#include "client/backup/views/BackupPage.h"
#include "client/backup/views/BackupPageView.h"
#include "client/browser/tree/RemoteTreeController.h"
#include "client/browser/views/RemoteContextMenu.h"
#include "client/browser/views/RemoteTreeModel.h"
#include "client/browser/views/RestorePageView.h"
#include "client/browser/views/RestoreTab.h"
#include "client/browser/views/VersionPaneView.h"
#include "client/common/views/ProgressPaneView.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/files/TXSupportFileManager.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PathRoots.h"
#include "platform/PropertyList.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTextStream>
#include <QTreeView>

namespace {

bool waitUntil(const std::function<bool()> &condition, std::chrono::seconds time = std::chrono::seconds(60))
{
    QDeadlineTimer deadline(time);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!condition())
        QTextStream(stderr) << "the Restore page did not get where its pictures are taken\n";
    return condition();
}

// The tree's listed paths, for a message.
QStringList shownRows(const TreeViewNode &folder)
{
    QStringList rows;
    for (const TreeViewNode *child : folder.children())
        rows << child->fullPath() << shownRows(*child);
    return rows;
}

// Opens the tree down to the folder (a path below the data root), in the tree and in its view.
TreeViewNode *openFolder(RestoreTab &restore, const QString &folder)
{
    QString path;
    TreeViewNode *node = &restore.tree.rootItem();
    for (const QString &part : folder.split('/', Qt::SkipEmptyParts)) {
        restore.tree.expandNode(*node);
        path = path.isEmpty() ? part : path + '/' + part;
        QDeadlineTimer deadline(std::chrono::seconds(5));
        while (!restore.tree.nodeForPath(path) && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        node = restore.tree.nodeForPath(path);
        if (!node)
            return nullptr;
        restore.page->treeView()->expand(restore.model->indexOf(node, 0));
    }
    restore.tree.expandNode(*node);
    return node;
}

}  // namespace

std::optional<QString> RestoredFolderChooser::chooseFolder(const QString &) { return folder(); }

std::optional<QString> RestoredFolderChooser::chooseFolderWithPromptBox(const QString &,
                                                                        const std::function<void(bool)> &)
{
    return folder();
}

QString RestoredFolderChooser::folder()
{
    const QString path = PathRoots::homeFolder() + QStringLiteral("/Restored");
    QDir().mkpath(path);
    return path;
}

namespace {

// The tree's context menu over the Documents folder, and the page while the index is rebuilt.
void saveOperations(RestoreTab &restore, TreeViewNode *folder, const BackupPagePictures &pictures)
{
    QTreeView &treeView = *restore.page->treeView();
    const QModelIndex row = restore.model->indexOf(folder, RemoteTreeModel::NameColumn);
    RemoteContextMenu &menu = *restore.page->contextMenu();
    menu.prepareFor(row);
    menu.menu()->popup(treeView.viewport()->mapToGlobal(treeView.visualRect(row).center()));
    pictures.saveOver("restore-page-context-menu", menu.menu());
    menu.menu()->hide();

    // The engine lists slowly, so the running re-index can be pictured; the question is answered Yes.
    const QString scenario = PathRoots::temporaryRoot() + QStringLiteral("/screenshots-reindex-scenario.plist");
    PropertyList::write(scenario, QVariantMap{{QStringLiteral("lineDelayMs"), 400}});
    qputenv("TXRUVO_SCENARIO", QFile::encodeName(scenario));
    ReIndexOperation &reIndex = restore.operations.reIndex();
    reIndex.reIndexDatabase();
    if (reIndex.isRunning())
        pictures.save("restore-page-reindex");
    waitUntil([&reIndex] { return !reIndex.isRunning(); }, std::chrono::seconds(120));
    qunsetenv("TXRUVO_SCENARIO");
}

}  // namespace

void saveRestorePage(TXTabViewController &tabs, RestoreTab &restore, PictureAlerts &alerts,
                     const BackupPagePictures &pictures)
{
    tabs.displayRestoreView();
    // After a backup that stored files the page asks for a refresh.
    if (restore.guides.isRefreshGuideShown())
        pictures.save("restore-page-refresh-guide");
    restore.guides.hideRefreshGuide();
    const QString documents = PathRoots::homeFolder() + QStringLiteral("/Documents");
    // The index learns of the backup at its next merge: the tree is listed until it shows it.
    TreeViewNode *folder = nullptr;
    const bool listed = waitUntil([&] {
        restore.tree.refresh();
        QDeadlineTimer pause(std::chrono::seconds(2));
        while (!pause.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        folder = openFolder(restore, documents);
        QDeadlineTimer listing(std::chrono::seconds(5));
        while (folder && restore.tree.isListing(*folder) && !listing.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return folder && !folder->children().empty();
    });
    if (!listed) {
        QTextStream(stderr) << "the tree shows: " << shownRows(restore.tree.rootItem()).join(", ") << '\n';
        return;
    }
    // The tree listed rows after a first login: the Restore guide at the tab's next showing.
    tabs.displayBackupView();
    tabs.displayRestoreView();
    if (restore.guides.isRemoteGuideShown())
        pictures.save("restore-page-guide");
    restore.guides.hideRemoteGuide();
    restore.page->treeView()->expand(restore.model->indexOf(folder, 0));
    for (const char *name : {"/Report 2026.odt", "/Letters"})
        if (TreeViewNode *item = restore.tree.nodeForPath(folder->fullPath() + name))
            restore.tree.toggleCheckboxStateforNode(*item);
    pictures.save("restore-page-tree");

    restore.page->destinationButton()->click();
    const QString scenario = PathRoots::temporaryRoot() + QStringLiteral("/screenshots-restore-scenario.plist");
    PropertyList::write(scenario, QVariantMap{{QStringLiteral("lineDelayMs"), 1500}});
    qputenv("TXRUVO_SCENARIO", QFile::encodeName(scenario));
    bool finished = false;
    alerts.shown = [&](const AlertRequest &alert, QWidget *panel) {
        if (alert.message.startsWith(QLatin1String("Restore operation has been completed"))) {
            pictures.saveWith("restore-page-finished", panel);
            finished = true;
        }
    };
    restore.page->restoreButton()->click();
    const ProgressPaneView &pane = *restore.page->progressPane();
    if (waitUntil([&pane] { return pane.filePathLabel()->text().contains(QLatin1String("Report")); }))
        pictures.save("restore-page-running");
    waitUntil([&finished] { return finished; }, std::chrono::seconds(120));
    qunsetenv("TXRUVO_SCENARIO");
    alerts.shown = nullptr;
    saveOperations(restore, folder, pictures);
}

void saveVersionPane(TXTabViewController &tabs, BackupPage &backup, RestoreTab &restore, PictureAlerts &alerts,
                     const BackupPagePictures &pictures)
{
    // The monitor's preference that keeps earlier versions, then a backup of the changed report.
    const QString preferencePath = QLLocalizedString(QStringLiteral("MonitorPreferencePath"));
    const QString user = TXSupportFileManager::txFileManager().TarnixUserName();
    QVariantMap preferences = PropertyList::readDictionary(preferencePath);
    QVariantMap own = preferences.value(user).toMap();
    own.insert(QStringLiteral("EnableVersion"), true);
    preferences.insert(user, own);
    PropertyList::write(preferencePath, preferences);
    const QString report = PathRoots::homeFolder() + QStringLiteral("/Documents/Report 2026.odt");
    QFile file(report);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(26000, 'y'));
    file.close();
    bool backedUp = false;
    alerts.shown = [&backedUp](const AlertRequest &alert, QWidget *) {
        backedUp = backedUp || alert.message.startsWith(QLatin1String("Backup operation has completed"));
    };
    tabs.displayBackupView();
    backup.page()->backupButton()->click();
    const bool finished = waitUntil([&backedUp] { return backedUp; }, std::chrono::seconds(120));
    alerts.shown = nullptr;
    if (!finished)
        return;

    tabs.displayRestoreView();
    restore.guides.hideRefreshGuide();
    restore.showVersionHistory(report.mid(1));
    pictures.save("restore-page-versions-fetching");
    const VersionViewController &pane = restore.versions->versionViewController();
    if (!waitUntil([&pane] { return !pane.isVersionHistoryProgressShown(); }))
        return;
    restore.page->versionPane()->tableView()->selectRow(0);
    pictures.save("restore-page-versions");
    restore.page->versionPane()->closeButton()->click();
}
