// Renders the client's windows and pages of the running brand to PNG files in
// a folder, for a person to look at; scripts/screenshots runs it once per brand
// under Xvfb. Usage: txscreenshots <folder>
#include "BackupPageShots.h"
#include "client/backup/views/CustomNSTableColumn.h"
#include "client/backup/views/ImageAndTextAndCheckBox.h"
#include "client/backup/views/OutlineHeaderView.h"
#include "client/shell/views/AccountMenuView.h"
#include "client/shell/views/BandwidthTestWindowView.h"
#include "client/shell/views/SendErrorReportController.h"
#include "common/files/TXSupportFileManager.h"
#include "platform/PropertyList.h"
#include "client/shell/views/ClientWindows.h"
#include "client/shell/views/EncryptionSetupView.h"
#include "client/shell/views/LoginFormView.h"
#include "client/shell/views/LoginWindows.h"
#include "client/shell/views/MAAttachedWindow.h"
#include "client/shell/views/PrivateKeyView.h"
#include "client/shell/views/TXMainWindow.h"
#include "client/shell/views/TXTabViewController.h"
#include "common/context/ProgramContext.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileIconProvider>
#include <QStandardItemModel>
#include <QTextEdit>
#include <QTreeView>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

#include <functional>

namespace {

// Lets queued layout and paint work run before a window is grabbed.
void settle()
{
    for (int round = 0; round < 5; ++round)
        QApplication::processEvents();
}

class Shots
{
public:
    explicit Shots(const QString &folder) : mFolder(folder) { QDir().mkpath(folder); }

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
    model.setHorizontalHeaderLabels({QStringLiteral("  My Local"), QStringLiteral("Size"), QStringLiteral("Date Modified")});
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
    view.setItemDelegateForColumn(0, new CustomNSTableColumn(new ImageAndTextAndCheckBox(kExcludedRole), kPlaceholderRole, &view));
    view.expandAll();
    view.setColumnWidth(0, 300);
    view.resize(560, 260);
    view.show();
    shots.save(QStringLiteral("local-tree-cells"), &view);
}

void saveErrorReport(Shots &shots)
{
    const QString lastLogin = TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::LastUserLoginDetailsFilePath);
    QDir().mkpath(QFileInfo(lastLogin).absolutePath());
    PropertyList::write(lastLogin, QVariantMap{{QStringLiteral("TarnixUsername"), QStringLiteral("demo")},
                                               {QStringLiteral("QuellonUserName"), QStringLiteral("demo")}});
    SendErrorReportController report([](const QString &) {});
    report.showErrorReportWindow();
    report.userEmailIdField()->setText(QStringLiteral("demo@example.org"));
    report.messageTextArea()->setPlainText(QStringLiteral("The backup stops at 45% every evening."));
    shots.save(QStringLiteral("error-report-window"), report.sendErrorReportWindow());
}

void saveBandwidthTest(Shots &shots)
{
    BandwidthTestWindowView window([](const QString &) {});
    window.setTestButtonStates(true, false);
    window.setTestButtonsEnabled(false);
    window.launchWindowWithName(QString(), QStringLiteral("Upload bandwidth test is in progress..."));
    shots.save(QStringLiteral("bandwidth-test-progress"), &window);
    window.upDateResult(DataTransferRateController::dataRateText(1024),
                        QStringLiteral("It will take ") + DataTransferRateController::calulateTimePerGBForSpeed(1024)
                            + QStringLiteral(" to upload 1GB of data"),
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

    ClientWindows windows;
    TXMainWindow *window = windows.mainWindow();
    TXTabViewController *tabs = windows.tabViewController();
    window->show();
    shots.save(QStringLiteral("main-window-logged-out"), window);

    LoginWindows login(window, tabs->loginButton());
    login.loginForm()->mUserNameTextField->setText(QStringLiteral("demo"));
    login.loginForm()->mSecureTextField->setText(QStringLiteral("demo password"));
    login.displayFloatingWindow();
    shots.saveTogether(QStringLiteral("login-window"), window, login.loginWindow());
    login.loginForm()->setErrorText(QStringLiteral(
        "Invalid username or password. If you do not have an account, visit "
        "<a href=\"https://127.0.0.1:47443/\">our web site</a> to subscribe."));
    login.displayFloatingWindow();
    shots.saveTogether(QStringLiteral("login-window-error"), window, login.loginWindow());
    login.loginForm()->setErrorText(QString());
    login.showPage(LoginWindows::Page::EncryptionSetup);
    login.setupPage()->mKeyButton->button(EncryptionSetupView::kPrivateTag)->click();
    login.setupPage()->mEncryptionConfigurationErrorText->setText(QStringLiteral("Encryption key must contain 4 or more characters"));
    login.setupPage()->mEncryptionConfigurationErrorText->show();
    login.displayFloatingWindow();
    shots.saveTogether(QStringLiteral("login-window-encryption-setup"), window, login.loginWindow());
    login.showPage(LoginWindows::Page::PrivateKey);
    login.displayFloatingWindow();
    shots.saveTogether(QStringLiteral("login-window-private-key"), window, login.loginWindow());
    login.hideFloatingWindow();

    windows.setLoggedInUserName(QStringLiteral("demo"));
    tabs->setControlsStatus(true);
    tabs->loginButton()->setText(QStringLiteral("demo"));
    tabs->setQuotaPercentage(37);
    tabs->folderSizeCalculationDidFinish({{QStringLiteral("fileSize"), QStringLiteral("734003200")},
                                          {QStringLiteral("FileCount"), QStringLiteral("1200")}});
    tabs->showSwitchMode();
    login.showDisconnectWindow();
    shots.saveTogether(QStringLiteral("account-menu"), window, login.disconnectWindow());
    login.closeDisconnectWindow();

    const QStringList pages = {QStringLiteral("backup"), QStringLiteral("restore"), QStringLiteral("log")};
    for (int row = 0; row < pages.size(); ++row) {
        row == 0 ? tabs->displayBackupView() : row == 1 ? tabs->displayRestoreView() : tabs->displayLogView();
        shots.save(QStringLiteral("main-window-page-") + pages.at(row), window);
    }
    tabs->displaySearchViewForMenu();
    shots.save(QStringLiteral("main-window-page-search"), window);
    tabs->displayTrashViewForMenu();
    shots.save(QStringLiteral("main-window-page-trash"), window);
    tabs->setMBackupMode(false);
    tabs->setTheLoginMode(false);
    tabs->showVisualHelpForMode(false);
    tabs->setQuotaPercentage(100);
    tabs->setBackupMiniPercentage(QStringLiteral("45%"));
    tabs->setBackupMiniProgressHidden(false);
    tabs->displayRestoreView();
    shots.save(QStringLiteral("main-window-sync-mode-full-quota"), window);
    tabs->setMBackupMode(true);
    tabs->setTheLoginMode(true);
    tabs->setQuotaPercentage(37);
    saveBackupPage(*tabs, [&](const char *name) { shots.save(QString::fromLatin1(name), window); });
    saveOutline(shots);
    saveErrorReport(shots);
    saveBandwidthTest(shots);
    return 0;
}
