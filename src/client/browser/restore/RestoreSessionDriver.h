#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <memory>

class User;

// What the Restore page hears from a restore session, on the main thread, in the
// order the session sends it. Every session ends with exactly one of the four end states.
class RestoreSessionEvents
{
public:
    virtual ~RestoreSessionEvents() = default;

    virtual void operationDidStart() = 0;
    virtual void operationElapsedTimeString(const QString &elapsed) = 0;
    virtual void operationDidReceiveData(const QVariantMap &report) = 0;
    virtual void operationStartedRetrying() = 0;
    virtual void operationDidReceiveErrors(const QString &errors) = 0;

    virtual void operationDidFinishSuccessfully() = 0;
    virtual void operationDidFailWithError(const QString &message) = 0;
    virtual void operationDidFailWithOverQuota(const QString &message) = 0;
    virtual void operationDidCancel() = 0;

    // The session log file of the running restore.
    virtual QString mRestoreSessionFilePath() const = 0;
};

// One restore session driver (the session layer's RuvoBackupManager in restore
// mode), as the Restore page uses it: made for the account and drive, given the
// picks and the local folder, started, cancelled and read after its end.
class RestoreSessionDriver
{
public:
    // What a fresh driver is made with (the set-up of restoreInitialise).
    struct Setup
    {
        bool backupMode = true;
        QString applicationSupportFolder;  // receives the session's operation folder
        QString destinationPath;           // the data root on the drive
        QString sourceFolder;              // the local folder that receives the items
    };
    using Factory = std::function<std::unique_ptr<RestoreSessionDriver>(const Setup &, RestoreSessionEvents &)>;

    virtual ~RestoreSessionDriver() = default;

    virtual void setuserInfo(const User &user) = 0;
    virtual void setExecutorPath(const QString &path) = 0;
    virtual void setBackupSourceFolder(const QString &path) = 0;
    virtual QString backupSourceFolder() const = 0;
    virtual QString DestinationPath() const = 0;
    // Folders relative to the data root (no leading "/"), files as their index paths ("/…").
    virtual void setPicks(const QStringList &folders, const QStringList &files) = 0;
    virtual void startRestore() = 0;

    virtual bool isRunning() const = 0;
    virtual void setRunningState(bool running) = 0;
    virtual void CancelBackupProcess() = 0;

    virtual long succesFileCount() const = 0;
    virtual long incSuccessFileCount() const = 0;
};
