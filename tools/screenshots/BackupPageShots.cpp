#include "BackupPageShots.h"

#include "client/backup/now/AlertPresenter.h"
#include "client/backup/now/BackupSessionDriver.h"
#include "client/backup/now/BackupViewController.h"
#include "client/backup/now/BackupViewMainController.h"
#include "client/backup/setlist/BackupsetViewController.h"
#include "client/backup/views/BackupPageView.h"
#include "client/backup/views/SetListView.h"
#include "client/shell/views/TXTabViewController.h"
#include "common/account/User.h"
#include "platform/PathRoots.h"
#include "platform/PropertyList.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QLabel>
#include <QStandardItemModel>
#include <QTreeView>

namespace {

// The main controller of a signed-in demo account, for pictures only.
class PictureMainController : public BackupViewMainController
{
public:
    PictureMainController() { account.setUserName(QStringLiteral("demo")); }
    bool isReIndexInProgress() const override { return false; }
    QString currentDestinationDrive() const override { return QStringLiteral("BackupDrive"); }
    QString mpcName() const override { return QStringLiteral("/Studio"); }
    bool isAppInBackupMode() const override { return true; }
    const User &userObject() override { return account; }
    QVariantMap getPreferencesSettingForUser(const QString &) const override { return {}; }
    void setOperationActive(bool) override {}
    BackedUpFileQueue *backedUpFileQueue() override { return nullptr; }
    void sendSessionLogInformation(const SessionLogReport &) override {}
    void displayLogView() override {}
    void upgrade() override {}
    void setBackupMiniProgressHidden(bool) override {}
    void setBackupMiniPercentage(const QString &) override {}
    void setDisplayRefreshGuide(bool) override {}
    void calQuota() override {}
    User account;
};

// Answers every question "OK" without showing it.
class SilentAlerts : public AlertPresenter
{
public:
    int runModalAlert(const AlertRequest &) override { return 0; }
    void showAlert(const AlertRequest &) override {}
};

// A session that only stands still for the picture.
class StillDriver : public BackupSessionDriver
{
public:
    void setuserInfo(const User &) override {}
    void setDestinationPath(const QString &) override {}
    QString DestinationPath() const override { return {}; }
    void shouldBackupVersions(bool) override {}
    void setMBackupMode(bool) override {}
    void setFileFolderSetForOperation(const QStringList &) override {}
    void setExecutorPath(const QString &) override {}
    void setBackedUpFileQueue(BackedUpFileQueue *) override {}
    void startBackup() override {}
    bool isRunning() const override { return false; }
    void setRunningState(bool) override {}
    void pause(bool) override {}
    void CancelBackupProcess() override {}
    void removeTempFilePaths() override {}
    long succesFileCount() const override { return 1180; }
    long incSuccessFileCount() const override { return 20; }
    long failureFileCount() const override { return 0; }
    bool isExcludedFromBackupSet() const override { return false; }
    unsigned excludedFilesCount() const override { return 0; }
};

QTreeView *pictureTree(QWidget *parent)
{
    static const QFileIconProvider icons;
    auto *model = new QStandardItemModel(parent);
    model->setHorizontalHeaderLabels({QStringLiteral("  My Local"), QStringLiteral("Size")});
    auto *home = new QStandardItem(icons.icon(QFileIconProvider::Folder), QStringLiteral("demo"));
    home->setCheckable(true);
    home->setCheckState(Qt::PartiallyChecked);
    for (const auto &[name, state] : {std::pair{"Documents", Qt::Checked}, std::pair{"Music", Qt::Unchecked},
                                      std::pair{"Pictures", Qt::Checked}}) {
        auto *item = new QStandardItem(icons.icon(QFileIconProvider::Folder), QString::fromLatin1(name));
        item->setCheckable(true);
        item->setCheckState(state);
        home->appendRow({item, new QStandardItem(QStringLiteral("--"))});
    }
    model->appendRow({home, new QStandardItem(QStringLiteral("--"))});
    auto *tree = new QTreeView(parent);
    tree->setModel(model);
    tree->expandAll();
    tree->setColumnWidth(0, 360);
    return tree;
}

}  // namespace

void saveBackupPage(TXTabViewController &tabs, const std::function<void(const char *)> &save)
{
    static PictureMainController main;
    static SilentAlerts alerts;
    const QString home = PathRoots::homeFolder();
    for (const char *folder : {"/Documents", "/Pictures"})
        QDir().mkpath(home + folder);
    const QString setFile = home + QStringLiteral("/BackupSet.plist");
    const QString sizeFile = home + QStringLiteral("/BackupSetSize.plist");
    PropertyList::write(setFile, QVariant(QStringList{home + "/Documents", home + "/Pictures"}));
    PropertyList::write(sizeFile, QVariantMap{{home + "/Documents", QStringLiteral("73400320")},
                                              {home + "/Pictures", QStringLiteral("1288490188")}});

    auto *controller = new BackupViewController(
        main, alerts, [](const BackupSessionDriver::Setup &, BackupSessionEvents &) {
            return std::make_unique<StillDriver>();
        });
    auto *setList = new BackupsetViewController(alerts, {}, controller);
    setList->setFiles({setFile, sizeFile, {}});
    auto *page = new BackupPageView(*controller);
    controller->setParent(page);
    page->setTreeView(pictureTree(page));
    page->setSetListViews(new SetListView(*setList), new SetListView(*setList));
    page->volumesPopUpButton()->addItem(QStringLiteral("BackupDrive"));
    page->backupPathLabel()->setText(PathRoots::volumesRoot() + QStringLiteral("/BackupDrive/TarnixVidezud/demo/Studio"));
    controller->BackupSetSavedAtPath(setFile);
    tabs.setPageView(0, page);
    tabs.displayBackupView();
    save("backup-page-idle");

    controller->operationDidStart();
    controller->backupsetSizeCalculationDidFinishSuccessfully();
    controller->operationElapsedTimeString(QStringLiteral("00:02:41"));
    controller->operationDidReceiveData({{QStringLiteral("percentage"), QStringLiteral("45.5")},
                                         {QStringLiteral("estimatedTime"), QStringLiteral("00:03:12")},
                                         {QStringLiteral("tansferMode"), QStringLiteral("Backing up")},
                                         {QStringLiteral("filename"), home + QStringLiteral("/Pictures/Holiday/IMG_0412.jpg")},
                                         {QStringLiteral("filesize"), QStringLiteral("3.2 MB")},
                                         {QStringLiteral("totalFileCount"), QStringLiteral("1200")},
                                         {QStringLiteral("transferSpeed"), QStringLiteral("12.4 Mb/s")}});
    controller->showProgressView();
    controller->progressViewController().refreshView();
    save("backup-page-running");

    controller->operationDidFinishSuccessfully();
    save("backup-page-finished");
}
