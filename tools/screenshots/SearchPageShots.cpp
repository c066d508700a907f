#include "SearchPageShots.h"

#include "client/browser/views/RestoreTab.h"
#include "client/browser/views/SearchPageView.h"
#include "client/browser/views/SearchTab.h"
#include "client/browser/views/SearchTableModel.h"
#include "client/common/views/ProgressPaneView.h"
#include "client/shell/views/sidebar/Sidebar.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "platform/PathRoots.h"
#include "platform/PropertyList.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextStream>

// What the pictures wait for is named after the page.
const QString kSearchPageName = QStringLiteral("Search page");

void saveSearchPage(TXTabViewController &tabs, SearchTab &search, PictureAlerts &alerts,
                    const BackupPagePictures &pictures)
{
    // Files of three folders hold an "a" in their names or folders.
    tabs.sidebar()->mSearchField()->setText(QStringLiteral("a"));
    tabs.search();
    if (!waitForPicture(kSearchPageName,
                        [&search] { return !search.controller.isSearching() && search.model->rowCount() > 0; }))
        return;
    SearchTableModel &model = *search.model;
    for (int row : {0, model.rowCount() - 1})
        model.setData(model.index(row, SearchTableModel::NameColumn), Qt::Checked, Qt::CheckStateRole);
    pictures.save("search-page-results");

    const QString scenario = PathRoots::temporaryRoot() + QStringLiteral("/screenshots-search-scenario.plist");
    PropertyList::write(scenario, QVariantMap{{QStringLiteral("lineDelayMs"), 1500}});
    qputenv("TXRUVO_SCENARIO", QFile::encodeName(scenario));
    bool finished = false;
    alerts.shown = [&](const AlertRequest &alert, QWidget *panel) {
        if (alert.message.startsWith(QLatin1String("Restore operation has been completed"))) {
            pictures.saveWith("search-page-restore-finished", panel);
            finished = true;
        }
    };
    search.page->restoreButton()->click();
    // The restore shows first in the sidebar's box; a click on it brings the page's pane forward.
    if (waitForPicture(kSearchPageName, [&search] { return search.restoreTab.restore.isRestoreRunning(); })) {
        pictures.save("search-page-restore-in-sidebar");
        emit tabs.sidebar()->showRestoreProgress();
        const ProgressPaneView &pane = *search.page->progressPane();
        if (waitForPicture(kSearchPageName, [&pane] { return !pane.filePathLabel()->text().isEmpty(); }))
            pictures.save("search-page-restore-running");
    }
    waitForPicture(
        kSearchPageName, [&finished] { return finished; }, std::chrono::seconds(120));
    qunsetenv("TXRUVO_SCENARIO");
    alerts.shown = nullptr;
}
