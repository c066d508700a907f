#pragma once

#include "client/browser/restore/RestoreSessionDriver.h"
#include "session/manager/RuvoBackupManager.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

// The Restore page's session driver: the session layer's RuvoBackupManager in
// restore mode, set up as restoreInitialise does, with its callbacks passed on.
class RuvoRestoreSessionDriver : public RestoreSessionDriver, private RuvoBackupRestoreHandlerProtocol
{
public:
    RuvoRestoreSessionDriver(const Setup &setup, RestoreSessionEvents &events, SessionTimings timings = {});
    ~RuvoRestoreSessionDriver() override;

    static Factory factory(SessionTimings timings = {});

    void setuserInfo(const User &user) override;
    void setExecutorPath(const QString &path) override { mManager.setExecutorPath(path); }
    void setBackupSourceFolder(const QString &path) override { mManager.setBackupSourceFolder(path); }
    QString backupSourceFolder() const override { return mManager.backupSourceFolder(); }
    QString DestinationPath() const override { return mManager.DestinationPath(); }
    void setPicks(const QStringList &folders, const QStringList &files) override;
    void startRestore() override { mManager.startRestore(); }
    bool isRunning() const override { return mManager.isRunning(); }
    void setRunningState(bool running) override { mManager.setRunningState(running); }
    void CancelBackupProcess() override { mManager.CancelBackupProcess(); }
    long succesFileCount() const override { return mManager.succesFileCount(); }
    long incSuccessFileCount() const override { return mManager.incSuccessFileCount(); }

private:
    void operationDidStart(RuvoBackupManager *) override { mEvents.operationDidStart(); }
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
    QString mRestoreSessionFilePath() const override { return mEvents.mRestoreSessionFilePath(); }

    RestoreSessionEvents &mEvents;
    RuvoBackupManager mManager;
};
