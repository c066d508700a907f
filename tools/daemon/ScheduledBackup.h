#pragma once

#include "common/account/QLApplicationDelegate.h"
#include "common/account/User.h"
#include "session/manager/BackedUpFileQueue.h"
#include "session/manager/RuvoBackupManager.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

#include "index/manager/IndexManagerTimings.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class TarnixDBManager;

// One scheduled backup of one account, run through the session layer exactly
// as the client's Backup Now runs it: the account's stored login, its backup
// set, its drive and computer folder, the engine of its account kind; every
// stored file goes to the drive's index, whose journals are merged when the
// run ends. It keeps the run's session log and tells its end once.
class ScheduledBackup : public QObject, private RuvoBackupRestoreHandlerProtocol, private QLApplicationDelegate
{
    Q_OBJECT

public:
    struct Job
    {
        QString userName;       // the account ("username" of the record)
        QString backupSetFile;  // "processReferenceFile": a plist array of paths
        QString destination;    // the record's destination label
        int scheduleType = 0;   // 0 backup; a restore is not run here
    };

    struct Result
    {
        enum class End
        {
            Completed,
            Canceled,
            Failed
        };
        End end = End::Failed;
        QString message;  // why it failed
        long successCount = 0;
        long failureCount = 0;
        long syncFileCount = 0;
        long totalCount = 0;
        QString sessionLogPath;
    };
    using Finished = std::function<void(const Result &)>;

    ScheduledBackup(Job job, SessionTimings sessionTimings, IndexManagerTimings indexTimings, Finished finished);
    ~ScheduledBackup() override;

    // Starts the session; a job that cannot start ends at once (Failed, with the reason).
    void start();
    // A stop request ("3" or the cut-off "5"): the session is cancelled. Asking again is harmless.
    void cancel();
    void pause(bool paused);
    bool isPaused() const { return mPaused; }

    // The computer folder of a destination label: the computer's own name for a default label.
    static QString computerFolder(const QString &destination);

private:
    // Set-up from the account's stored files; the reason when something is missing.
    std::optional<QString> prepare(QStringList &selection);
    void finish(Result::End end, const QString &message);
    void log(const QString &line, bool flush = false);

    // RuvoBackupRestoreHandlerProtocol
    void operationDidReceiveErrors(const QString &message, const QString &file, SessionDriver *) override;
    void operationStartedRetrying(SessionDriver *) override { log(QStringLiteral("Retrying")); }
    void operationDidFinishSuccessfully(SessionDriver *) override { finish(Result::End::Completed, {}); }
    void operationDidFailWithError(const QString &message, SessionDriver *) override
    {
        finish(Result::End::Failed, message);
    }
    void operationDidFailWithOverQuota(const QString &message) override { finish(Result::End::Failed, message); }
    void operationDidCancel(SessionDriver *) override { finish(Result::End::Canceled, {}); }
    QString mBackupSessionFilePath() const override { return mResult.sessionLogPath; }
    QString mRestoreSessionFilePath() const override { return {}; }

    // QLApplicationDelegate: what the drive's index asks of the account.
    User &userObject() override { return mAccount; }
    bool isAppInBackupMode() const override { return true; }
    QString mpcName() const override { return mComputerFolder; }
    QString currentBackupPath() const override { return mDataRoot; }
    void sendSessionLogInformation(const QString &operation, int totalFileCount, int syncFileCount,
                                   const QString &sessionLogFilePath, const QString &duration) override;

    // Hands each stored file to the index manager.
    class IndexQueue : public BackedUpFileQueue
    {
    public:
        explicit IndexQueue(ScheduledBackup &owner)
            : mOwner(owner)
        {}
        void addBackedUpFile(const BackedUpFile &file) override;

    private:
        ScheduledBackup &mOwner;
    };

    Job mJob;
    IndexManagerTimings mIndexTimings;
    Finished mFinished;
    User mAccount;
    QString mComputerFolder;
    QString mDataRoot;
    QString mStartStamp;
    IndexQueue mIndexQueue;
    std::unique_ptr<TarnixDBManager> mIndex;
    std::unique_ptr<RuvoBackupManager> mManager;
    Result mResult;
    bool mEnded = false;
    bool mPaused = false;
    bool mCancelAsked = false;
};
