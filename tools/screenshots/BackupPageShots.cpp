#include "BackupPageShots.h"

#include "client/backup/localtree/LocalTreeConnection.h"
#include "client/backup/now/BackupViewController.h"
#include "client/backup/views/ArchiveCleanupWindows.h"
#include "client/backup/views/BackupPage.h"
#include "client/backup/views/BackupPageView.h"
#include "client/common/views/ProgressPaneView.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/widgets/AlertPaneWindowController.h"
#include "platform/PathRoots.h"
#include "platform/PropertyList.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTextStream>

namespace {

bool waitFor(const std::function<bool()> &condition, std::chrono::seconds time = std::chrono::seconds(60))
{
    QDeadlineTimer deadline(time);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!condition())
        QTextStream(stderr) << "the Backup page did not get where its pictures are taken\n";
    return condition();
}

// A few files in the home folder's Documents and Pictures.
void writeHomeFiles(const QString &home)
{
    const QStringList names = {"Documents/Report 2026.odt", "Documents/Taxes.ods", "Documents/Letters/To Anna.txt",
                               "Pictures/Holiday/IMG_0412.jpg", "Pictures/Holiday/IMG_0413.jpg"};
    for (int i = 0; i < names.size(); ++i) {
        const QString path = home + '/' + names.at(i);
        QDir().mkpath(path.section('/', 0, -2));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(20000 * (i + 1), 'x'));
    }
}

}  // namespace

int PictureAlerts::runModalAlert(const AlertRequest &alert)
{
    AlertPaneWindowController panel(alert.defaultButton, alert.alternateButton, QString());
    panel.displayMessage(alert.message, alert.title, false);
    if (shown)
        shown(alert, panel.window());
    // "OK" rather than opening the log viewer or the file viewer.
    const bool view = alert.defaultButton == QLatin1String("View Log") || alert.defaultButton == QLatin1String("View");
    return view ? 0 : kAnswerDefault;
}

void PictureAlerts::showAlert(const AlertRequest &alert)
{
    AlertPaneWindowController panel(alert.defaultButton, alert.alternateButton, QString());
    panel.displayMessage(alert.message, alert.title, false);
    if (shown)
        shown(alert, panel.window());
}

void saveBackupPage(TXTabViewController &tabs, BackupPage &page, LocalTreeConnection &tree, PictureAlerts &alerts,
                    const BackupPagePictures &pictures)
{
    const QString home = PathRoots::homeFolder();
    writeHomeFiles(home);
    tabs.displayBackupView();
    // The user chooses the backup drive, and checks two folders of the home folder.
    QComboBox &drives = *page.page()->volumesPopUpButton();
    if (!waitFor([&drives] { return drives.findText(QStringLiteral("BackupDrive")) >= 0; }))
        return;
    drives.setCurrentIndex(drives.findText(QStringLiteral("BackupDrive")));
    emit drives.textActivated(drives.currentText());
    for (const char *folder : {"/Documents", "/Pictures"})
        tree.fileSystem().addPathForBackup(home + folder);
    tree.fileSystem().saveDataToDisk();
    // The set list shows the items once their sizes are known.
    if (!waitFor([&page] { return page.backupsetViewController().backupSet().size() == 2; }))
        return;
    pictures.save("backup-page-idle");
    // Cleanup Now's first window: what it does, and the automatic cleanup's settings.
    page.cleanup().onSync();
    QDialog &cleanup = *page.cleanupWindows().messageWindow();
    if (waitFor([&cleanup] { return cleanup.isVisible(); }))
        pictures.saveWith("backup-page-cleanup", &cleanup);
    cleanup.close();

    // The stand-in engine reports its files slowly enough for a picture of the pane.
    const QString scenario = PathRoots::temporaryRoot() + QStringLiteral("/screenshots-scenario.plist");
    PropertyList::write(scenario, QVariantMap{{QStringLiteral("lineDelayMs"), 1500}});
    qputenv("TXRUVO_SCENARIO", QFile::encodeName(scenario));
    bool finished = false;
    alerts.shown = [&](const AlertRequest &alert, QWidget *panel) {
        if (alert.message.startsWith(QLatin1String("Backup operation has completed"))) {
            pictures.saveWith("backup-page-finished", panel);
            finished = true;
        } else if (alert.message.contains(QLatin1String("volume"))) {
            pictures.saveWith("backup-page-confirm", panel);
        }
    };
    page.page()->backupButton()->click();
    const ProgressPaneView &pane = *page.page()->progressPane();
    if (!waitFor([&tabs] { return tabs.sidebar()->backupMiniProgressBox()->isVisible(); }))
        return;
    tabs.sidebar()->backupMiniProgressBox()->click();
    if (waitFor([&pane] { return pane.filePathLabel()->text().contains(QLatin1String("Holiday")); }))
        pictures.save("backup-page-running");
    waitFor([&finished] { return finished; }, std::chrono::seconds(120));
    qunsetenv("TXRUVO_SCENARIO");
    alerts.shown = nullptr;
}
