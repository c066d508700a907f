#include "BackupNowFakes.h"

#include "client/backup/now/BackupViewController.h"
#include "common/files/TXSupportFileManager.h"
#include "common/logging/OnlineLogController.h"
#include "common/login/UserFiles.h"
#include "common/transfer/ProgressReport.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <functional>

namespace {

const QString kDrive = "BackupDrive";
const QString kAskPortable = "WARNING: The selected volume 'BackupDrive' for the local backup does not appear to be "
                             "an attached (portable) volume. Would you like to proceed?";
const QString kAskDefaultSet = "There are no files/ folders selected for backup. Would you like Tarnix Rizered to "
                               "automatically select the files/ folders for backup?";
const QString kAskStart = "Would you like to start Backup Now?";
const QString kReIndex = "Unable to proceed as database re-indexing is underway.";
const QString kInSet = "You cannot select '%1' volume as your portable backup location.Reason: The selected volume is "
                       "part of your backup set.";
const QString kViewLog = "Backup operation has completed. Click the 'View Log' button for details.";

void runEventsFor(std::chrono::milliseconds span)
{
    QDeadlineTimer deadline(span);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

class BackupNowTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        TXSupportFileManager::txFileManager().setTarnixUserName("alice");
        fresh();
    }

    // A new tab over fresh fakes, the drive chosen and stored, and a saved set.
    void fresh()
    {
        controller.reset();
        main = FakeBackupMainController();
        alerts = ScriptedAlerts();
        view = FakeBackupView();
        tree = FakeBackupTree();
        setups.clear();
        main.account.setUserName("alice");
        main.volumeName = kDrive;
        QDir().mkpath(drivePath());
        writeText(TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::DestinationDrivePath),
                  drivePath().toUtf8());
        saveSet({home() + "/Documents"});
        controller = std::make_unique<BackupViewController>(
            main, alerts,
            [this](const SessionDriver::Setup &setup, RuvoBackupRestoreHandlerProtocol &) {
                setups.append(setup);
                auto made = std::make_unique<FakeSessionDriver>();
                driver = made.get();
                return made;
            },
            BackupViewController::Timings{std::chrono::milliseconds(1), {std::chrono::milliseconds(1)}});
        controller->setView(&view);
        controller->setFileSystemObject(&tree);
        controller->BackupSetSavedAtPath(setPath());
    }

    QString drivePath() const { return volumes() + '/' + kDrive; }
    QString setPath() const { return root() + "/BackupSet.plist"; }
    void saveSet(const QStringList &paths) { ASSERT_TRUE(PropertyList::write(setPath(), QVariant(paths))); }

    // Backup Now through its questions, then the session's start.
    void startBackup()
    {
        alerts.answers = {1};
        controller->backupNow();
        ASSERT_EQ(driver->starts, 1) << alerts.texts().join('\n').toStdString();
        controller->operationDidStart(nullptr);
        alerts.shown.clear();
    }

    FakeBackupMainController main;
    ScriptedAlerts alerts;
    FakeBackupView view;
    FakeBackupTree tree;
    FakeSessionDriver *driver = nullptr;
    QList<SessionDriver::Setup> setups;
    std::unique_ptr<BackupViewController> controller;
};

TEST_F(BackupNowTest, RefusalsComeInOrderAndLeaveTheDriverUnstarted)
{
    struct Case
    {
        const char *name;
        std::function<void()> arrange;
        std::deque<int> answers;
        QStringList expectedAlerts;
        bool starts;
    };
    const QString noAccess = "You do not have sufficient access rights for this volume. Please select another volume "
                             "for local backup.";
    const QString storedChoice =
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::DestinationDrivePath);
    const std::vector<Case> cases = {
        {"re-index, even while a backup runs",
         [this] {
             main.reIndexing = true;
             driver->running = true;
         },
         {},
         {kReIndex},
         false},
        {"a backup runs", [this] { driver->running = true; }, {}, {}, false},
        {"volume gone", [this] { main.volumeName = "Gone"; }, {}, {"'Gone' volume does not exist"}, false},
        {"no volume", [this] { main.volumeName.clear(); }, {}, {"Please select destination drive."}, false},
        {"no stored choice, writable chooser",
         [this, storedChoice] {
             QFile::remove(storedChoice);
             tree.chosenTitle = kDrive;
         },
         {},
         {"Please select destination Volume"},
         false},
        {"no stored choice, chooser without access",
         [this, storedChoice] {
             QFile::remove(storedChoice);
             tree.chosenTitle = "Nowhere";
         },
         {},
         {noAccess},
         false},
        {"'No' to the drive", [] {}, {0}, {kAskPortable}, false},
        {"the drive itself in the set",
         [this] { saveSet({drivePath()}); },
         {1},
         {kAskPortable, kInSet.arg(kDrive)},
         false},
        {"a folder inside the drive in the set",
         [this] { saveSet({drivePath() + "/Photos"}); },
         {1},
         {kAskPortable},
         true},
        {"empty set, 'No' to the default set", [this] { saveSet({}); }, {1, 0}, {kAskPortable, kAskDefaultSet}, false},
        {"empty set, default set, 'No' to starting",
         [this] {
             saveSet({});
             tree.saveDefault = [this] { saveSet({home() + "/Pictures"}); };
         },
         {1, 1, 0},
         {kAskPortable, kAskDefaultSet, kAskStart},
         false},
        {"empty set, default set, started",
         [this] {
             saveSet({});
             tree.saveDefault = [this] { saveSet({home() + "/Pictures"}); };
         },
         {1, 1, 1},
         {kAskPortable, kAskDefaultSet, kAskStart},
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        c.arrange();
        alerts.answers = c.answers;
        controller->backupNow();
        EXPECT_EQ(alerts.texts(), c.expectedAlerts);
        EXPECT_EQ(driver->starts, c.starts ? 1 : 0);
    }
    const AlertRequest &last = alerts.shown.last();
    EXPECT_EQ(last.defaultButton, "Yes");
    EXPECT_EQ(last.alternateButton, "No");
}

TEST_F(BackupNowTest, PermissionRefusalHasItsOwnTitleAndIcon)
{
    QFile::remove(TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::DestinationDrivePath));
    controller->backupNow();
    ASSERT_EQ(alerts.shown.size(), 1);
    EXPECT_EQ(alerts.shown[0].title, "Permission denied!");
    EXPECT_EQ(alerts.shown[0].image, "alert_icon_small.png");
}

TEST_F(BackupNowTest, StartupDiskIsRefusedOnlyWhenTheWholeDiskIsInTheSet)
{
    ASSERT_TRUE(QFile::link("/", volumes() + "/Startup"));
    main.volumeName = "Startup";
    for (const auto &[set, starts] : std::vector<std::pair<QStringList, int>>{{{"/"}, 0}, {{"/home"}, 1}}) {
        saveSet(set);
        alerts.shown.clear();
        alerts.answers = {1};
        controller->backupNow();
        EXPECT_EQ(driver->starts, starts) << set.join(',').toStdString();
        EXPECT_EQ(alerts.texts().contains(kInSet.arg("Startup")), starts == 0);
    }
}

TEST_F(BackupNowTest, SessionIsSetUpForTheBrandModeAndAccount)
{
    main.preferences = {{"EnableVersion", true}};
    saveSet({home() + "/Documents", home() + "/Documents", home() + "/Music"});
    startBackup();
    EXPECT_EQ(driver->destination, drivePath() + "/TarnixVidezud/alice/Studio");
    EXPECT_TRUE(driver->versions);
    EXPECT_EQ(driver->selection, (QStringList{home() + "/Documents", home() + "/Music"}));
    EXPECT_TRUE(driver->executor.endsWith("/txruvo"));
    EXPECT_FALSE(main.miniProgressHidden);
    EXPECT_EQ(controller->progressViewController().state().status, "Preparing file list...");
    EXPECT_TRUE(main.operationActive);
    EXPECT_FALSE(view.buttonEnabled);
    EXPECT_FALSE(view.chooserEnabled);
    EXPECT_TRUE(controller->mBackupSessionFilePath().contains("/Backup/"));
}

TEST_F(BackupNowTest, WithoutAComputerFolderTheBackupGoesToThisComputersFolderNeverTheAccountRoot)
{
    main.computerFolder.clear();
    controller->backupInitialise();
    ASSERT_EQ(setups.size(), 2);
    EXPECT_GT(setups.last().destinationPath.size(), 1);
    startBackup();
    EXPECT_GT(driver->destination.size(), QString(drivePath() + "/TarnixVidezud/alice/").size());
    EXPECT_TRUE(driver->destination.startsWith(drivePath() + "/TarnixVidezud/alice/"));
}

TEST_F(BackupNowTest, ProgressShowsScanningUntilTheSizeIsKnownAndDropsASyncTransferMode)
{
    startBackup();
    const ProgressPaneState &pane = controller->progressViewController().state();
    controller->operationDidReceiveData(
        {{ProgressReport::Percentage, "12"}, {ProgressReport::EstimatedTime, "00:01:00"}}, nullptr);
    EXPECT_EQ(pane.message, "File scanning is in progress...");
    EXPECT_EQ(pane.percentageText, "");
    EXPECT_EQ(pane.estimatedTime, "");
    EXPECT_EQ(main.miniPercentage, "");

    controller->backupsetSizeCalculationDidFinishSuccessfully();
    controller->operationDidReceiveData({{ProgressReport::Percentage, "42.5"},
                                         {ProgressReport::EstimatedTime, "00:01:00"},
                                         {ProgressReport::TansferMode, "SYNC"},
                                         {ProgressReport::Filename, "/a/b.txt"},
                                         {ProgressReport::Filesize, "3 KB"},
                                         {ProgressReport::TotalFileCount, "7"},
                                         {ProgressReport::TransferSpeed, "1 Mb/s"}},
                                        nullptr);
    EXPECT_EQ(pane.message, "");
    EXPECT_EQ(pane.percentageText, "42.5 %");
    EXPECT_DOUBLE_EQ(pane.level, 42.5);
    EXPECT_EQ(main.miniPercentage, "42.5 %");
    EXPECT_EQ(pane.estimatedTime, "Estimated Time: 00:01:00");
    EXPECT_EQ(pane.filePath, " /a/b.txt  (3 KB)");
    EXPECT_EQ(pane.speed, "1 Mb/s");
    EXPECT_EQ(pane.status, "Backup progress");
    EXPECT_FALSE(pane.pauseButtonHidden);
    EXPECT_EQ(controller->mTotalFileCount(), 7);

    // Nothing left to do: no estimate is shown.
    controller->operationDidReceiveData({{ProgressReport::Percentage, "100"}, {ProgressReport::EstimatedTime, ""}},
                                        nullptr);
    EXPECT_EQ(pane.estimatedTime, "");
}

TEST_F(BackupNowTest, EachEndRestoresTheControlsAndReportsTheSession)
{
    enum class End
    {
        Success,
        Failure,
        Cancel,
        OverQuota
    };
    struct Case
    {
        const char *name;
        End end;
        std::deque<int> answers;
        QStringList expectedAlerts;
        bool followUp;
        QString status;
    };
    const QString overQuota =
        "You have utilized the allocated storage space. For further backups, upgrade your account.";
    const std::vector<Case> cases = {
        {"success, View Log", End::Success, {1}, {kViewLog}, true, "Success"},
        {"failure, OK",
         End::Failure,
         {0},
         {"Backup operation has failed: engine died\n\nClick the 'View Log' button for details."},
         true,
         "Failure"},
        {"cancel", End::Cancel, {}, {}, false, "Cancelled"},
        {"over quota, Upgrade", End::OverQuota, {1}, {overQuota}, true, "Failure"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        int followUps = 0;
        controller->setFollowUp([&followUps](const SessionDriver &) { ++followUps; });
        OnlineLogController::SharedOnlineLogController().setOperationStatus("Success");
        startBackup();
        driver->stored = 2;
        driver->alreadyPresent = 1;
        controller->operationDidReceiveData({{ProgressReport::Filename, "/a"}, {ProgressReport::TotalFileCount, "3"}},
                                            nullptr);
        controller->showProgressView();
        alerts.answers = c.answers;
        switch (c.end) {
        case End::Success:
            controller->operationDidFinishSuccessfully(nullptr);
            break;
        case End::Failure:
            controller->operationDidFailWithError("engine died", nullptr);
            break;
        case End::Cancel:
            controller->operationDidCancel(nullptr);
            break;
        case End::OverQuota:
            controller->operationDidFailWithOverQuota("quota");
            break;
        }
        EXPECT_EQ(alerts.texts(), c.expectedAlerts);
        EXPECT_FALSE(driver->running);
        EXPECT_FALSE(main.operationActive);
        EXPECT_TRUE(main.miniProgressHidden);
        EXPECT_TRUE(view.buttonEnabled);
        EXPECT_TRUE(view.chooserEnabled);
        EXPECT_FALSE(view.pathLabelHidden);
        EXPECT_FALSE(view.progressShown);
        EXPECT_EQ(followUps, c.followUp ? 1 : 0);
        EXPECT_EQ(OnlineLogController::SharedOnlineLogController().operationStatus(), c.status);
        ASSERT_EQ(main.reports.size(), 1);
        const SessionLogReport &report = main.reports[0];
        EXPECT_EQ(report.operation, "Backup");
        EXPECT_EQ(report.totalFileCount, 3);
        EXPECT_EQ(report.syncFileCount, c.end == End::OverQuota ? 0 : 1);
        EXPECT_EQ(report.sessionLogFilePath, controller->mBackupSessionFilePath());
        EXPECT_EQ(main.logViewsShown, c.end == End::Success ? 1 : 0);
        EXPECT_EQ(main.upgrades, c.end == End::OverQuota ? 1 : 0);
        EXPECT_EQ(main.refreshGuide, c.end == End::Success);
        EXPECT_TRUE(QFile::exists(controller->mBackupSessionFilePath()));
        runEventsFor(std::chrono::milliseconds(20));
        EXPECT_EQ(main.quotaCalls, c.end == End::Cancel ? 0 : 1);
    }
}

TEST_F(BackupNowTest, ADisconnectKeepsBackupNowOffAfterTheEnd)
{
    startBackup();
    writeText(UserFiles::path("DisconnectMarkerPath", "alice"), "1");
    controller->operationDidCancel(nullptr);
    EXPECT_FALSE(view.buttonEnabled);
}

TEST_F(BackupNowTest, PauseResumeAndStopReachTheDriver)
{
    startBackup();
    ProgressViewController &pane = controller->progressViewController();
    pane.pause();
    pane.pause();
    EXPECT_EQ(driver->pauses, (QList<bool>{true, false}));
    EXPECT_FALSE(pane.state().paused);
    pane.stop();
    EXPECT_EQ(driver->cancels, 1);
    EXPECT_EQ(pane.state().status, "Stopping backup operation...");
}

TEST_F(BackupNowTest, ADriverIsMadeAgainOnlyForAnotherModeOrDriveAndNeverUnderASession)
{
    ASSERT_EQ(setups.size(), 1);
    controller->backupInitialise();  // the account told again
    EXPECT_EQ(setups.size(), 1);
    main.backupMode = false;
    controller->backupInitialise();
    ASSERT_EQ(setups.size(), 2);
    EXPECT_FALSE(setups.last().backupMode);
    main.backupMode = true;
    controller->backupInitialise();
    ASSERT_EQ(setups.size(), 3);

    startBackup();
    main.volumeName = "OtherDrive";
    controller->backupInitialise();
    EXPECT_EQ(setups.size(), 3);
    EXPECT_TRUE(controller->isBackupRunning());
    controller->operationDidCancel(nullptr);
    runEventsFor(std::chrono::milliseconds(20));
    EXPECT_EQ(setups.size(), 4);  // after the session's end
}

TEST_F(BackupNowTest, BeforeALoginNoDriverIsMadeAndBackupNowDoesNothing)
{
    // Without a user there is no user folder: a driver would make its operation folder at the root.
    TXSupportFileManager::txFileManager().setTarnixUserName(QString());
    setups.clear();
    controller = std::make_unique<BackupViewController>(
        main, alerts, [this](const SessionDriver::Setup &setup, RuvoBackupRestoreHandlerProtocol &) {
            setups.append(setup);
            return std::make_unique<FakeSessionDriver>();
        });
    controller->backupInitialise();
    EXPECT_TRUE(setups.isEmpty());
    controller->backupNow();
    EXPECT_TRUE(alerts.shown.isEmpty());
    EXPECT_FALSE(controller->isBackupRunning());
}

}  // namespace
