#include "client/backup/now/BackupViewController.h"

#include "client/backup/now/BackupTreeActions.h"
#include "client/backup/now/BackupView.h"
#include "client/backup/now/BackupViewMainController.h"
#include "client/common/destination/BackupDestination.h"
#include "common/account/User.h"
#include "common/backupset/MonitorExclusionPreferences.h"
#include "common/files/ApplicationStatusFile.h"
#include "common/files/TXSupportFileManager.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "desktop/alerts/AlertPresenter.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "platform/PropertyList.h"
#include "platform/VolumeFacts.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kReIndexUnderway = QStringLiteral("Unable to proceed as database re-indexing is underway.");

// The paths of a list file (the set file, a Time Machine list); empty when it is missing or not a list.
QStringList readPathList(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return {};
    QStringList paths;
    for (const QVariant &item : PropertyList::read(path).value_or(QVariant()).toList()) {
        if (item.typeId() == QMetaType::QString)
            paths.append(item.toString());
    }
    return paths;
}

}  // namespace

BackupViewController::BackupViewController(BackupViewMainController &mainController, AlertPresenter &alerts,
                                           SessionDriver::Factory makeDriver, Timings timings, QObject *parent)
    : QObject(parent)
    , mMainController(mainController)
    , mAlerts(alerts)
    , mMakeDriver(std::move(makeDriver))
    , mTimings(timings)
    , mProgressViewController(timings.progress)
{
    mProgressViewController.setDelegate(this);
    mProgressViewController.setHidden(true);
    backupInitialise();
}

BackupViewController::~BackupViewController() = default;

void BackupViewController::backupInitialise()
{
    // A running session keeps its driver: it is replaced once the session has ended.
    if (isBackupRunning()) {
        mInitialiseAfterSession = true;
        return;
    }
    // Before a login there is no user folder: a driver would make its operation folder at the root.
    TXSupportFileManager &files = TXSupportFileManager::txFileManager();
    SessionDriver::Setup setup;
    setup.backupMode = mMainController.isAppInBackupMode();
    setup.applicationSupportFolder =
        files.TarnixUserName().isEmpty() ? QString() : files.pathForApplicationFile(ApplicationFile::UserFolder);
    setup.destinationPath = BackupDestination::computerFolder(mMainController.mpcName());
    const QStringList driverFor = {mMainController.userObject().UserName(), setup.applicationSupportFolder,
                                   setup.destinationPath, mMainController.currentDestinationDrive(),
                                   setup.backupMode ? QStringLiteral("backup") : QStringLiteral("sync")};
    // The same account, mode and drive keep their driver (a sync confirmation tells the account again).
    if (mDriver && driverFor == mDriverFor)
        return;
    mDriver.reset();  // the old session's folder goes before the new one is made
    mDriverFor = driverFor;
    if (setup.applicationSupportFolder.isEmpty())
        return;
    mDriver = mMakeDriver(setup, *this);
    mDriver->setuserInfo(mMainController.userObject());
}

bool BackupViewController::isBackupRunning() const { return mDriver && mDriver->isRunning(); }

void BackupViewController::alert(const QString &text, const QString &title, const QString &image)
{
    AlertRequest request;
    request.title = title.isEmpty() ? QLLocalizedString(QStringLiteral("ApplicationName")) : title;
    request.message = text;
    request.defaultButton = QLLocalizedString(QStringLiteral("OK"));
    request.image = image;
    mAlerts.runModalAlert(request);
}

bool BackupViewController::ask(const QString &text)
{
    AlertRequest request;
    request.title = QLLocalizedString(QStringLiteral("ApplicationName"));
    request.message = text;
    request.defaultButton = QLLocalizedString(QStringLiteral("Yes"));
    request.alternateButton = QLLocalizedString(QStringLiteral("No"));
    return mAlerts.runModalAlert(request) == AlertPresenter::kAnswerDefault;
}

void BackupViewController::backupNow()
{
    if (mMainController.isReIndexInProgress()) {
        alert(kReIndexUnderway);
        return;
    }
    if (!mDriver || isBackupRunning())
        return;
    if (const auto chosen = confirmBackup())
        startSession(*chosen);
}

std::optional<QStringList> BackupViewController::confirmBackup()
{
    const QString volumeName = mMainController.currentDestinationDrive();
    const QString volumePath = BackupDestination::volumePath(volumeName);
    if (!destinationIsUsable(volumeName, volumePath))
        return std::nullopt;

    mCurrentDestinationDrive = volumeName;
    const QString question =
        QLUtility::isConnectedViaUSB(volumePath)
            ? QStringLiteral("You have selected '%1' volume for local backup. Would you like to proceed?")
            : QStringLiteral("WARNING: The selected volume '%1' for the local backup does not appear to be an "
                             "attached (portable) volume. Would you like to proceed?");
    if (!ask(question.arg(volumeName)))
        return std::nullopt;

    mProgressViewController.setHiddenPauseButton(false);
    mDriver->setuserInfo(mMainController.userObject());
    const bool backupMode = mMainController.isAppInBackupMode();
    const QString destination =
        BackupDestination::destinationFolder(volumePath, mMainController.userObject(),
                                             BackupDestination::computerFolder(mMainController.mpcName()), backupMode);
    if (destination.isEmpty()) {
        // Without an account folder the engine would write beside other accounts' data.
        alert(QStringLiteral("Please select destination drive."));
        return std::nullopt;
    }
    // A drive that cannot be written would run a whole session that stores nothing.
    if (!BackupDestination::isWritableDestination(destination)) {
        alertNoAccess();
        return std::nullopt;
    }
    mDriver->setDestinationPath(destination);
    const QString userName = mMainController.userObject().UserName();
    mDriver->shouldBackupVersions(mMainController.getPreferencesSettingForUser(userName)
                                      .value(MonitorExclusionPreferences::kEnableVersion)
                                      .toBool());

    if (!destinationOutsideSet(volumeName, volumePath))
        return std::nullopt;
    return selectionOrDefaultSet();
}

bool BackupViewController::destinationIsUsable(const QString &volumeName, const QString &volumePath)
{
    if (volumePath.isEmpty() || !QFileInfo::exists(volumePath)) {
        alert(volumeName.isEmpty() ? QStringLiteral("Please select destination drive.")
                                   : QStringLiteral("'%1' volume does not exist").arg(volumeName));
        return false;
    }
    const QString storedChoice =
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::DestinationDrivePath);
    if (storedChoice.isEmpty() || !QFileInfo::exists(storedChoice)) {
        const QString chosenTitle = mFileSysController ? mFileSysController->selectedVolumeTitle() : QString();
        const QString chosenPath = BackupDestination::volumePath(chosenTitle);
        if (!chosenPath.isEmpty() && QLUtility::isWritableFileAtPath(chosenPath))
            alert(QLLocalizedString(QStringLiteral("Please select destination Volume")));
        else
            alertNoAccess();
        return false;
    }
    return true;
}

void BackupViewController::alertNoAccess()
{
    alert(QLLocalizedString(QStringLiteral("You do not have sufficient access rights for this volume. "
                                           "Please select another volume for local backup.")),
          QLLocalizedString(QStringLiteral("Permission denied!")), QStringLiteral("alert_icon_small.png"));
}

bool BackupViewController::destinationOutsideSet(const QString &volumeName, const QString &volumePath)
{
    const QStringList set = backupSet();
    if ((VolumeFacts::isStartupVolume(volumePath) && set.contains(QStringLiteral("/"))) || set.contains(volumePath)) {
        alert(QStringLiteral("You cannot select '%1' volume as your portable backup location.Reason: The selected "
                             "volume is part of your backup set.")
                  .arg(volumeName));
        return false;
    }
    return true;
}

QStringList BackupViewController::selection() const
{
    QStringList paths = backupSet();
    const QString userName = mMainController.userObject().UserName();
    paths += readPathList(BackupDestination::timeMachineListPath(userName, mMainController.isAppInBackupMode()));
    paths.removeDuplicates();
    return paths;
}

std::optional<QStringList> BackupViewController::selectionOrDefaultSet()
{
    const QStringList paths = selection();
    if (!paths.isEmpty())
        return paths;
    const QString question = QStringLiteral("There are no files/ folders selected for backup. Would you like %1 to "
                                            "automatically select the files/ folders for backup?")
                                 .arg(QLLocalizedString(QStringLiteral("ApplicationName")));
    if (!ask(question))
        return std::nullopt;
    if (mFileSysController)
        mFileSysController->addDefaultBackupset();
    if (!ask(QStringLiteral("Would you like to start Backup Now?")))
        return std::nullopt;
    return selection();
}

void BackupViewController::startSession(const QStringList &paths)
{
    mSessionFilePath = SessionLogsFolder::fromApplicationFiles().newSessionLogPath(QStringLiteral("Backup"),
                                                                                   QDateTime::currentDateTime());
    mSessionLog = std::make_unique<BackupSessionLog>(mSessionFilePath, mSyncUpLogger);
    mSelection = paths;
    mDriver->setFileFolderSetForOperation(paths);
    mTotalFiles = 0;
    const bool backupMode = mMainController.isAppInBackupMode();
    mDriver->setMBackupMode(backupMode);
    mDriver->setExecutorPath(
        QLLocalizedString(BackupDestination::executorKey(backupMode, mMainController.userObject().isRuvoUser())));
    mDriver->setBackedUpFileQueue(mMainController.backedUpFileQueue());
    // The monitor learns from the status file that this user's backup runs.
    ApplicationStatusFile::setEntry(ApplicationStatusFile::kIneractiveBackupStatusKey,
                                    mMainController.userObject().UserName());
    mDriver->startBackup();
    emit backupRunningChanged(true);
    mMainController.setBackupMiniProgressHidden(false);
    mProgressViewController.setPercentage(QStringLiteral("0"));
}

void BackupViewController::setBackupNowButtonState()
{
    QFile marker(BackupDestination::disconnectMarkerPath(mMainController.userObject().UserName()));
    const bool disconnected = marker.open(QIODevice::ReadOnly) && QString::fromUtf8(marker.readAll()).trimmed() == "1";
    if (mView)
        mView->setBackupButtonEnabled(!disconnected);
}

void BackupViewController::BackupSetSavedAtPath(const QString &path)
{
    mBackupSetFilePath = path;
    emit backupSetSaved(path, mProgressViewController.isHidden());
}

QStringList BackupViewController::backupSet() const
{
    if (mFileSysController)
        mFileSysController->finishSaving();
    return readPathList(mBackupSetFilePath);
}

void BackupViewController::setControlsStatus(bool enabled)
{
    if (mView) {
        mView->setBackupButtonEnabled(enabled);
        mView->setVolumeChooserEnabled(enabled);
    }
    emit controlsStatusChanged(enabled);
}

void BackupViewController::showProgressView()
{
    mProgressViewController.setHidden(false);
    if (mView)
        mView->showProgressPane();
    mMainController.setBackupMiniProgressHidden(true);
    mProgressViewController.refreshView();
}

void BackupViewController::showBackupsetView()
{
    mProgressViewController.setHidden(true);
    if (mView)
        mView->showSetList(mMainController.isAppInBackupMode());
}

void BackupViewController::toggleProgressView(ProgressViewController &, bool hidden)
{
    if (!hidden)
        return;
    showBackupsetView();
    mMainController.setBackupMiniProgressHidden(false);
}

void BackupViewController::pauseProcess(ProgressViewController &) { mDriver->pause(true); }

void BackupViewController::resumeProcess(ProgressViewController &) { mDriver->pause(false); }

void BackupViewController::stopProcess(ProgressViewController &pane)
{
    pane.setProgressStatus(QStringLiteral("Stopping backup operation..."));
    pane.refreshView();
    mDriver->CancelBackupProcess();
}
