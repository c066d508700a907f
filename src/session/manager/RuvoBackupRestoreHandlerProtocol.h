#pragma once

#include <QString>
#include <QVariantMap>

class RuvoBackupManager;

// What a backup or restore session tells its creator (the backup view, the
// restore views). Every callback arrives on the main thread, in the order the
// session sent it, and each session ends with exactly one of the four end
// states: operationDidFinishSuccessfully, operationDidFailWithError,
// operationDidFailWithOverQuota or operationDidCancel.
class RuvoBackupRestoreHandlerProtocol
{
public:
    virtual ~RuvoBackupRestoreHandlerProtocol() = default;

    virtual void operationDidStart(RuvoBackupManager *) {}
    // The walk of a backup selection has ended (also after a cancel).
    virtual void backupsetSizeCalculationDidFinishSuccessfully() {}
    // Every second while engines run: "hh:mm:ss" since the first engine started.
    virtual void operationElapsedTimeString(const QString &) {}
    // A restore's index searches have delivered every path; their bytes.
    virtual void operationDidFinishFileListGeneration(quint64) {}
    // Progress of one file (the keys of the progress report).
    virtual void operationDidReceiveData(const QVariantMap &, RuvoBackupManager *) {}
    // An empty restore folder, or one file's error: message, the file or "".
    virtual void operationDidReceiveErrors(const QString &, const QString &, RuvoBackupManager *) {}
    virtual void operationStartedRetrying(RuvoBackupManager *) {}
    // An engine met a network or account trouble.
    virtual void makeScriptCallForObject(RuvoBackupManager *) {}

    virtual void operationDidFinishSuccessfully(RuvoBackupManager *) = 0;
    virtual void operationDidFailWithError(const QString &message, RuvoBackupManager *) = 0;
    virtual void operationDidFailWithOverQuota(const QString &message) = 0;
    virtual void operationDidCancel(RuvoBackupManager *) = 0;

    // The session log file of the running backup or restore; asked once at its start.
    virtual QString mBackupSessionFilePath() const { return {}; }
    virtual QString mRestoreSessionFilePath() const { return {}; }
};
