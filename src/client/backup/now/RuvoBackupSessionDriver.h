#pragma once

#include "client/backup/now/BackupSessionDriver.h"
#include "session/manager/RuvoBackupManager.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

// The Backup tab's session driver: the session layer's RuvoBackupManager, set
// up as backupInitialise does, with its callbacks passed on to the tab.
class RuvoBackupSessionDriver : public BackupSessionDriver, private RuvoBackupRestoreHandlerProtocol
{
public:
    RuvoBackupSessionDriver(const Setup &setup, BackupSessionEvents &events, SessionTimings timings = {});

    // A factory for the tab, with the session's timings.
    static Factory factory(SessionTimings timings = {});

    RuvoBackupManager &manager() { return mManager; }

    void setuserInfo(const User &user) override;
    void setDestinationPath(const QString &path) override { mManager.setDestinationPath(path); }
    QString DestinationPath() const override { return mManager.DestinationPath(); }
    void shouldBackupVersions(bool keep) override { mManager.shouldBackupVersions(keep); }
    void setMBackupMode(bool backupMode) override { mManager.setMBackupMode(backupMode); }
    void setFileFolderSetForOperation(const QStringList &paths) override { mManager.setFileFolderSetForOperation(paths); }
    void setExecutorPath(const QString &path) override { mManager.setExecutorPath(path); }
    void setBackedUpFileQueue(BackedUpFileQueue *queue) override { mManager.setBackedUpFileQueue(queue); }
    // A first backup to a drive makes the account's folder on it.
    void startBackup() override;
    bool isRunning() const override { return mManager.isRunning(); }
    void setRunningState(bool running) override { mManager.setRunningState(running); }
    void pause(bool paused) override { mManager.pause(paused); }
    void CancelBackupProcess() override { mManager.CancelBackupProcess(); }
    void removeTempFilePaths() override { mManager.removeTempFilePaths(); }
    long succesFileCount() const override { return mManager.succesFileCount(); }
    long incSuccessFileCount() const override { return mManager.incSuccessFileCount(); }
    long failureFileCount() const override { return mManager.failureFileCount(); }
    bool isExcludedFromBackupSet() const override { return mManager.isExcludedFromBackupSet(); }
    unsigned excludedFilesCount() const override { return mManager.excludedFilesCount(); }

private:
    void operationDidStart(RuvoBackupManager *) override { mEvents.operationDidStart(); }
    void backupsetSizeCalculationDidFinishSuccessfully() override
    {
        mEvents.backupsetSizeCalculationDidFinishSuccessfully();
    }
    void operationElapsedTimeString(const QString &elapsed) override { mEvents.operationElapsedTimeString(elapsed); }
    void operationDidReceiveData(const QVariantMap &report, RuvoBackupManager *) override
    {
        mEvents.operationDidReceiveData(report);
    }
    void operationDidReceiveErrors(const QString &message, const QString &, RuvoBackupManager *) override
    {
        mEvents.operationDidReceiveErrors(message);
    }
    void operationStartedRetrying(RuvoBackupManager *) override { mEvents.operationStartedRetrying(); }
    void operationDidFinishSuccessfully(RuvoBackupManager *) override { mEvents.operationDidFinishSuccessfully(); }
    void operationDidFailWithError(const QString &message, RuvoBackupManager *) override
    {
        mEvents.operationDidFailWithError(message);
    }
    void operationDidFailWithOverQuota(const QString &message) override
    {
        mEvents.operationDidFailWithOverQuota(message);
    }
    void operationDidCancel(RuvoBackupManager *) override { mEvents.operationDidCancel(); }
    QString mBackupSessionFilePath() const override { return mEvents.mBackupSessionFilePath(); }

    BackupSessionEvents &mEvents;
    RuvoBackupManager mManager;
};
