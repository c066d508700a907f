#pragma once

#include <QString>

class ProgressReport;
class SessionDriver;

// What a backup or restore session tells its creator (the Backup tab, the
// restore views). Every callback arrives on the main thread, in the order the
// session sent it, and each session ends with exactly one of the four end
// states: operationDidFinishSuccessfully, operationDidFailWithError,
// operationDidFailWithOverQuota or operationDidCancel.
class RuvoBackupRestoreHandlerProtocol
{
public:
    virtual ~RuvoBackupRestoreHandlerProtocol() = default;

    virtual void operationDidStart(SessionDriver *) {}
    // The walk of a backup selection has ended (also after a cancel).
    virtual void backupsetSizeCalculationDidFinishSuccessfully() {}
    // Every second while engines run: "hh:mm:ss" since the first engine started.
    virtual void operationElapsedTimeString(const QString &) {}
    // A restore's index searches have delivered every path; their bytes.
    virtual void operationDidFinishFileListGeneration(quint64) {}
    // Progress of one file.
    virtual void operationDidReceiveData(const ProgressReport &, SessionDriver *) {}
    // An empty restore folder, or one file's error: message, the file or "".
    virtual void operationDidReceiveErrors(const QString &, const QString &, SessionDriver *) {}
    virtual void operationStartedRetrying(SessionDriver *) {}
    // An engine met a network or account trouble.
    virtual void makeScriptCallForObject(SessionDriver *) {}

    virtual void operationDidFinishSuccessfully(SessionDriver *) = 0;
    virtual void operationDidFailWithError(const QString &message, SessionDriver *) = 0;
    virtual void operationDidFailWithOverQuota(const QString &message) = 0;
    virtual void operationDidCancel(SessionDriver *) = 0;

    // The session log file of the running backup or restore; asked once at its start.
    virtual QString mBackupSessionFilePath() const { return {}; }
    virtual QString mRestoreSessionFilePath() const { return {}; }
};
