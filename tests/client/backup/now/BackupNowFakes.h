#pragma once

#include "client/backup/now/BackupTreeActions.h"
#include "client/backup/now/BackupView.h"
#include "client/backup/now/BackupViewMainController.h"
#include "common/account/User.h"
#include "desktop/alerts/AlertPresenter.h"
#include "session/manager/SessionDriver.h"
#include "support/ScriptedAlerts.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <functional>

// The main controller and sidebar, recording what the Backup tab tells them.
class FakeBackupMainController : public BackupViewMainController
{
public:
    bool isReIndexInProgress() const override { return reIndexing; }
    QString currentDestinationDrive() const override { return volumeName; }
    QString mpcName() const override { return computerFolder; }
    bool isAppInBackupMode() const override { return backupMode; }
    const User &userObject() override { return account; }
    QVariantMap getPreferencesSettingForUser(const QString &) const override { return preferences; }
    void setOperationActive(bool active) override { operationActive = active; }
    BackedUpFileQueue *backedUpFileQueue() override { return nullptr; }
    void sendSessionLogInformation(const SessionLogReport &report) override { reports.append(report); }
    void displayLogView() override { ++logViewsShown; }
    void upgrade() override { ++upgrades; }
    void setBackupMiniProgressHidden(bool hidden) override { miniProgressHidden = hidden; }
    void setBackupMiniPercentage(const QString &text) override { miniPercentage = text; }
    void setDisplayRefreshGuide(bool shown) override { refreshGuide = shown; }
    void calQuota() override { ++quotaCalls; }

    bool reIndexing = false;
    QString volumeName;
    QString computerFolder = "/Studio";
    bool backupMode = true;
    User account;
    QVariantMap preferences;
    bool operationActive = false;
    QList<SessionLogReport> reports;
    int logViewsShown = 0;
    int upgrades = 0;
    bool miniProgressHidden = true;
    QString miniPercentage;
    bool refreshGuide = false;
    int quotaCalls = 0;
};

// A session driver that records its set-up and start; tests play its events.
class FakeSessionDriver : public SessionDriver
{
public:
    void setuserInfo(const User &user) override { userName = user.UserName(); }
    void setDestinationPath(const QString &path) override { destination = path; }
    QString DestinationPath() const override { return destination; }
    void shouldBackupVersions(bool keep) override { versions = keep; }
    void setMBackupMode(bool mode) override { backupMode = mode; }
    void setFileFolderSetForOperation(const QStringList &paths) override { selection = paths; }
    void setExecutorPath(const QString &path) override { executor = path; }
    void setBackedUpFileQueue(BackedUpFileQueue *) override {}
    void startBackup() override
    {
        ++starts;
        running = true;
    }
    void setBackupSourceFolder(const QString &path) override { restoreTarget = path; }
    QStringList &mFolderSetForRelativeRestore() override { return restoreFolders; }
    QStringList &mFileSetForRestore() override { return restoreFiles; }
    void startRestore() override
    {
        ++restores;
        running = true;
    }
    bool isRunning() const override { return running; }
    void setRunningState(bool state) override { running = state; }
    void pause(bool paused) override { pauses.append(paused); }
    void CancelBackupProcess() override { ++cancels; }
    void removeTempFilePaths() override { ++tempRemovals; }
    long succesFileCount() const override { return stored; }
    long incSuccessFileCount() const override { return alreadyPresent; }
    long failureFileCount() const override { return failed; }
    bool isExcludedFromBackupSet() const override { return false; }
    unsigned excludedFilesCount() const override { return 0; }

    QString userName;
    QString destination;
    bool versions = false;
    bool backupMode = true;
    QStringList selection;
    QString executor;
    int starts = 0;
    QString restoreTarget;
    QStringList restoreFolders;
    QStringList restoreFiles;
    int restores = 0;
    bool running = false;
    QList<bool> pauses;
    int cancels = 0;
    int tempRemovals = 0;
    long stored = 0;
    long alreadyPresent = 0;
    long failed = 0;
};

class FakeBackupView : public BackupView
{
public:
    void setBackupButtonEnabled(bool enabled) override { buttonEnabled = enabled; }
    void showProgressPane() override { progressShown = true; }
    void showSetList(bool) override { progressShown = false; }
    void setVolumeChooserEnabled(bool enabled) override { chooserEnabled = enabled; }
    void setBackupPathLabelHidden(bool hidden) override { pathLabelHidden = hidden; }

    bool buttonEnabled = true;
    bool progressShown = false;
    bool chooserEnabled = true;
    bool pathLabelHidden = false;
};

class FakeBackupTree : public BackupTreeActions
{
public:
    QString selectedVolumeTitle() const override { return chosenTitle; }
    void addDefaultBackupset() override
    {
        if (saveDefault)
            saveDefault();
    }

    QString chosenTitle;
    std::function<void()> saveDefault;
};
