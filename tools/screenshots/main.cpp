// Renders the client's windows and pages of the running brand to PNG files in
// a folder, for a person to look at; scripts/screenshots runs it once per brand
// under Xvfb. Usage: txscreenshots <folder>
#include "BackupPageShots.h"
#include "RestorePageShots.h"
#include "client/backup/localtree/LocalTreeConnection.h"
#include "client/backup/views/BackupPage.h"
#include "client/backup/views/BackupPageView.h"
#include "client/backup/views/BackupTab.h"
#include "client/backup/views/CustomNSTableColumn.h"
#include "client/backup/views/ImageAndTextAndCheckBox.h"
#include "client/backup/views/LocalTreeView.h"
#include "client/backup/views/OutlineHeaderView.h"
#include "client/browser/views/RestoreTab.h"
#include "client/logs/views/LogTab.h"
#include "client/shell/main/ProgramServices.h"
#include "client/shell/main/TXMainController.h"
#include "client/shell/views/account/AccountMenuView.h"
#include "client/shell/views/bandwidth/BandwidthTestWindowView.h"
#include "client/shell/views/frame/ClientShell.h"
#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/login/EncryptionSetupView.h"
#include "client/shell/views/login/LoginFormView.h"
#include "client/shell/views/login/LoginWindows.h"
#include "client/shell/views/login/MAAttachedWindow.h"
#include "client/shell/views/login/PrivateKeyView.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/context/ProgramContext.h"
#include "common/files/TXSupportFileManager.h"
#include "common/logging/OnlineLogController.h"
#include "common/texts/Brand.h"
#include "desktop/errorreport/views/SendErrorReportController.h"
#include "desktop/logs/SessionLogXmlFile.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "desktop/logs/views/LogViewController.h"
#include "platform/PropertyList.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTextEdit>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>

#include <functional>

namespace {

// Lets queued layout, paint and log-reading work run before a window is grabbed.
void settle(std::chrono::milliseconds time = std::chrono::milliseconds(100))
{
    QEventLoop loop;
    QTimer::singleShot(time, &loop, &QEventLoop::quit);
    loop.exec();
}

// The session logs of a few days of the demo account, as the client writes them.
void writeSessionLogs()
{
    const SessionLogsFolder folder = SessionLogsFolder::fromApplicationFiles();
    struct Run
    {
        int daysAgo;
        const char *operation;
        const char *status;
        int files;
        int present;
        const char *duration;
        const char *log;
    };
    const Run runs[] = {
        {0, "Backup", "Success", 1284, 1200, "00:04:12", "Backup completed.\n1284 files considered, 84 backed up.\n"},
        {0, "Restore", "Success", 12, 0, "00:00:09", "Restored 12 files to /home/demo/Restored.\n"},
        {1, "Backup", "Failure", 310, 290, "00:01:03", "3 files could not be read: permission denied.\n"},
        {3, "Delete", "Success", 2, 0, "00:00:01", "Deleted 2 items from the device.\n"},
        {5, "Backup", "Cancelled", 90, 12, "00:00:40", "The backup was cancelled.\n"},
    };
    for (const Run &run : runs) {
        const QDateTime when = QDateTime::currentDateTime().addDays(-run.daysAgo);
        const QString log =
            folder.newSessionLogPath(QString::fromLatin1(run.operation), when.addSecs(-60 * run.daysAgo - 30));
        QFile file(log);
        if (file.open(QIODevice::WriteOnly))
            file.write(run.log);
        file.close();
        if (QLatin1String(run.operation) == QLatin1String("Backup")) {
            QFile summary(log + QStringLiteral(".summary"));
            if (summary.open(QIODevice::WriteOnly))
                summary.write(
                    QStringLiteral("Files considered for backup: %1\nFiles already present in your device: %2\n"
                                   "Click here to view excluded files/ folders\n")
                        .arg(run.files)
                        .arg(run.present)
                        .toUtf8());
        }
        OnlineLogController::SharedOnlineLogController().setOperationStatus(QString::fromLatin1(run.status));
        SessionLogXmlFile day(
            folder, [] { return QStringLiteral("demo"); }, [when] { return when; });
        day.sendSessionLogInformationWithOperation(QString::fromLatin1(run.operation), run.files, run.present, log,
                                                   QString::fromLatin1(run.duration));
    }
}

class Shots
{
public:
    explicit Shots(const QString &folder)
        : mFolder(folder)
    {
        QDir().mkpath(folder);
    }

    void save(const QString &name, QWidget *widget)
    {
        settle();
        save(name, widget->grab());
    }

    // The main window with an arrow window over it, as the screen shows them.
    void saveTogether(const QString &name, QWidget *window, QWidget *over)
    {
        settle();
        QPixmap picture = window->grab();
        QPainter painter(&picture);
        painter.drawPixmap(over->geometry().topLeft() - window->geometry().topLeft(), over->grab());
        painter.end();
        save(name, picture);
    }

    void save(const QString &name, const QPixmap &picture)
    {
        const QString path = mFolder + '/' + name + QStringLiteral(".png");
        if (!picture.save(path))
            QTextStream(stderr) << "could not write " << path << '\n';
    }

private:
    QString mFolder;
};

constexpr int kPlaceholderRole = Qt::UserRole + 2;
constexpr int kExcludedRole = Qt::UserRole + 3;

QStandardItem *treeItem(const QString &name, Qt::CheckState state, bool folder, bool excluded = false)
{
    static const QFileIconProvider icons;
    auto *item = new QStandardItem(icons.icon(folder ? QFileIconProvider::Folder : QFileIconProvider::File), name);
    item->setCheckable(true);
    item->setCheckState(state);
    item->setData(excluded, kExcludedRole);
    return item;
}

// The local tree's cells over a small tree: checked, mixed and excluded
// items and a folder still being listed.
void saveOutline(Shots &shots)
{
    QStandardItemModel model;
    model.setHorizontalHeaderLabels(
        {QStringLiteral("  My Local"), QStringLiteral("Size"), QStringLiteral("Date Modified")});
    QStandardItem *home = treeItem(QStringLiteral("demo"), Qt::PartiallyChecked, true);
    QStandardItem *documents = treeItem(QStringLiteral("Documents"), Qt::Checked, true);
    documents->appendRow({treeItem(QStringLiteral("Report 2026.odt"), Qt::Checked, false), new QStandardItem("18 KB"),
                          new QStandardItem("Dec 9, 2026")});
    documents->appendRow({treeItem(QStringLiteral("Taxes.ods"), Qt::Checked, false), new QStandardItem("44 KB"),
                          new QStandardItem("Nov 30, 2026")});
    QStandardItem *cache = treeItem(QStringLiteral(".cache"), Qt::Unchecked, true, true);
    cache->appendRow({treeItem(QStringLiteral("thumbnails"), Qt::Unchecked, true, true), new QStandardItem("--"),
                      new QStandardItem("Dec 10, 2026")});
    QStandardItem *pictures = treeItem(QStringLiteral("Pictures"), Qt::Unchecked, true);
    auto *loading = new QStandardItem;
    loading->setData(true, kPlaceholderRole);
    pictures->appendRow(loading);
    home->appendRow({documents, new QStandardItem("62 KB"), new QStandardItem("Dec 9, 2026")});
    home->appendRow({cache, new QStandardItem("--"), new QStandardItem("Dec 10, 2026")});
    home->appendRow({pictures, new QStandardItem("--"), new QStandardItem("Dec 1, 2026")});
    model.appendRow({home, new QStandardItem("--"), new QStandardItem("Dec 10, 2026")});

    QTreeView view;
    view.setHeader(new OutlineHeaderView(&view));
    view.setModel(&model);
    view.setItemDelegateForColumn(
        0, new CustomNSTableColumn(new ImageAndTextAndCheckBox(kExcludedRole), kPlaceholderRole, &view));
    view.expandAll();
    view.setColumnWidth(0, 300);
    view.resize(560, 260);
    view.show();
    shots.save(QStringLiteral("local-tree-cells"), &view);
}

void saveErrorReport(Shots &shots)
{
    PictureAlerts alerts;
    SendErrorReportController report(alerts);
    report.showErrorReportWindow();
    report.userEmailIdField()->setText(QStringLiteral("demo@example.org"));
    report.messageTextArea()->setPlainText(QStringLiteral("The backup stops at 45% every evening."));
    shots.save(QStringLiteral("error-report-window"), report.sendErrorReportWindow());
}

void saveBandwidthTest(Shots &shots)
{
    PictureAlerts alerts;
    BandwidthTestWindowView window(alerts);
    window.setTestButtonStates(true, false);
    window.setTestButtonsEnabled(false);
    window.launchWindowWithName(QString(), QStringLiteral("Upload bandwidth test is in progress..."));
    shots.save(QStringLiteral("bandwidth-test-progress"), &window);
    window.upDateResult(DataTransferRateController::dataRateText(1024),
                        QStringLiteral("It will take ") + DataTransferRateController::calulateTimePerGBForSpeed(1024) +
                            QStringLiteral(" to upload 1GB of data"),
                        QStringLiteral("Your current upload speed is:"), QStringLiteral("Upload Speed"));
    window.setTestButtonsEnabled(true);
    shots.save(QStringLiteral("bandwidth-test-result"), &window);
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramContext program;
    if (argc < 2) {
        QTextStream(stderr) << "usage: txscreenshots <folder>\n";
        return 2;
    }
    Shots shots(QString::fromLocal8Bit(argv[1]));

    writeSessionLogs();
    ClientShell shell;
    ClientWindows &windows = shell.windows();
    TXMainWindow *window = windows.mainWindow();
    TXTabViewController *tabs = windows.tabViewController();
    LoginWindows &login = shell.loginWindows();
    // The Backup page as the program puts it together, its messages pictured.
    PictureAlerts alerts;
    BackupTab backupTab(shell, &alerts);
    BackupPage &backup = backupTab.backup;
    LocalTreeConnection &tree = backupTab.tree;
    RestoredFolderChooser restoreFolders;
    RestoreTab restoreTab(shell, &alerts, &restoreFolders);
    LogTab logTab(shell);
    shell.start();  // no stored login yet: the login window opens
    shots.save(QStringLiteral("main-window-logged-out"), window);
    if (login.loginWindow())
        shots.saveTogether(QStringLiteral("login-window"), window, login.loginWindow());

    // The pages of the login window as a failed login and the encryption set-up show them.
    login.loginForm()->setErrorText(
        LoginViewController::failureText(QStringLiteral("Invalid username or password."), {}));
    login.displayFloatingWindow();
    shots.saveTogether(QStringLiteral("login-window-error"), window, login.loginWindow());
    // A long message wraps over several lines, all of them shown.
    login.loginForm()->setErrorText(LoginViewController::failureText(
        Brand::pick(QStringLiteral("Unable to connect to Tarnix. Reason: Account has been canceled. "),
                    QStringLiteral("Unable to connect to Quellon. Reason: Account has been canceled. ")),
        QStringLiteral("demo")));
    login.displayFloatingWindow();
    shots.saveTogether(QStringLiteral("login-window-error-long"), window, login.loginWindow());
    login.loginForm()->setErrorText(QString());
    login.showPage(LoginWindows::Page::EncryptionSetup);
    login.setupPage()->mKeyButton->button(EncryptionSetupView::kPrivateTag)->click();
    login.setupPage()->mEncryptionConfigurationErrorText->setText(
        QStringLiteral("Encryption key must contain 4 or more characters"));
    login.setupPage()->mEncryptionConfigurationErrorText->show();
    login.displayFloatingWindow();
    shots.saveTogether(QStringLiteral("login-window-encryption-setup"), window, login.loginWindow());
    login.setupPage()->mEncryptionConfigurationErrorText->hide();
    login.showPage(LoginWindows::Page::PrivateKey);
    login.displayFloatingWindow();
    shots.saveTogether(QStringLiteral("login-window-private-key"), window, login.loginWindow());
    login.showPage(LoginWindows::Page::LoginForm);

    // The demo account logs in against the stand-in web service.
    login.loginForm()->mUserNameTextField->setText(QStringLiteral("demo"));
    login.loginForm()->mSecureTextField->setText(QStringLiteral("demo password"));
    shell.mainController().loginViewController().performLogin();
    QDeadlineTimer deadline(std::chrono::seconds(30));
    while (windows.loggedInUserName().isEmpty() && !deadline.hasExpired())
        settle();
    if (windows.loggedInUserName().isEmpty()) {
        QTextStream(stderr) << "the demo account did not log in; is the stand-in web service running?\n";
        shots.saveTogether(QStringLiteral("login-failed"), window, login.loginWindow());
        return 1;
    }
    // The quota bar as a measurement of 37 % shows it (the engine's quota query is not built yet).
    tabs->sidebar()->setQuotaPercentage(37);
    settle(std::chrono::milliseconds(500));
    login.showDisconnectWindow();
    shots.saveTogether(QStringLiteral("account-menu"), window, login.disconnectWindow());
    login.accountMenu()->mBandwidthTestButton->click();  // the two speed tests
    login.showDisconnectWindow();
    shots.saveTogether(QStringLiteral("account-menu-speed-test"), window, login.disconnectWindow());
    login.accountMenu()->mBandwidthTestButton->click();
    login.closeDisconnectWindow();

    const QStringList pages = {QStringLiteral("backup"), QStringLiteral("restore"), QStringLiteral("log")};
    for (int row = 0; row < pages.size(); ++row) {
        row == 0 ? tabs->displayBackupView() : row == 1 ? tabs->displayRestoreView() : tabs->displayLogView();
        if (row == 2)
            settle(std::chrono::milliseconds(1500));  // the days are read, then the first row is chosen
        shots.save(QStringLiteral("main-window-page-") + pages.at(row), window);
    }
    logTab.logs->selectRow(1);
    shots.save(QStringLiteral("main-window-page-log-with-summary"), window);
    tabs->displaySearchViewForMenu();
    shots.save(QStringLiteral("main-window-page-search"), window);
    tabs->displayTrashViewForMenu();
    shots.save(QStringLiteral("main-window-page-trash"), window);
    tabs->sidebar()->setMBackupMode(false);
    tabs->sidebar()->setTheLoginMode(false);
    tabs->sidebar()->showVisualHelpForMode(false);
    tabs->sidebar()->setQuotaPercentage(100);
    tabs->sidebar()->setBackupMiniPercentage(QStringLiteral("45%"));
    tabs->sidebar()->setBackupMiniProgressHidden(false);
    tabs->displayRestoreView();
    shots.save(QStringLiteral("main-window-sync-mode-full-quota"), window);
    tabs->sidebar()->setMBackupMode(true);
    tabs->sidebar()->setTheLoginMode(true);
    tabs->sidebar()->setQuotaPercentage(37);
    tabs->sidebar()->setBackupMiniProgressHidden(true);
    const BackupPagePictures pictures{
        [&](const char *name) { shots.save(QString::fromLatin1(name), window); },
        [&](const char *name, QWidget *over) {
            // A message shows centred over the main window.
            over->move(window->geometry().center() - over->rect().center());
            shots.saveTogether(QString::fromLatin1(name), window, over);
        },
        [&](const char *name, QWidget *over) { shots.saveTogether(QString::fromLatin1(name), window, over); }};
    saveBackupPage(*tabs, backup, tree, alerts, pictures);
    // The tree's context menu over its first drive.
    tabs->displayBackupView();
    LocalTreeView &treeView = *backupTab.treeView;
    const QModelIndex drive = treeView.model()->index(0, 0);
    if (QMenu *menu = treeView.contextMenuFor(drive)) {
        menu->popup(treeView.viewport()->mapToGlobal(treeView.visualRect(drive).center()));
        shots.saveTogether(QStringLiteral("backup-page-context-menu"), window, menu);
        menu->hide();
    }
    saveRestorePage(*tabs, restoreTab, alerts, pictures);
    saveOutline(shots);
    saveErrorReport(shots);
    saveBandwidthTest(shots);
    return 0;
}
