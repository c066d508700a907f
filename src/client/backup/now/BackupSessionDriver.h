#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <memory>

class BackedUpFileQueue;
class User;

// What the Backup tab hears from a backup session, in the order the session
// sends it, on the main thread. Every session ends with exactly one of the
// four end states.
class BackupSessionEvents
{
public:
    virtual ~BackupSessionEvents() = default;

    virtual void operationDidStart() = 0;
    virtual void backupsetSizeCalculationDidFinishSuccessfully() = 0;
    virtual void operationElapsedTimeString(const QString &elapsed) = 0;
    virtual void operationDidReceiveData(const QVariantMap &report) = 0;
    virtual void operationStartedRetrying() = 0;
    virtual void operationDidReceiveErrors(const QString &errors) = 0;

    virtual void operationDidFinishSuccessfully() = 0;
    virtual void operationDidFailWithError(const QString &message) = 0;
    virtual void operationDidFailWithOverQuota(const QString &message) = 0;
    virtual void operationDidCancel() = 0;

    // The session log file of the running backup.
    virtual QString mBackupSessionFilePath() const = 0;
};

// One backup session driver (the session layer's RuvoBackupManager), as the
// Backup tab uses it: set up, started, paused, cancelled and read after its end.
class BackupSessionDriver
{
public:
    // What a fresh driver is made with (the set-up of backupInitialise).
    struct Setup
    {
        bool backupMode = true;
        QString applicationSupportFolder;
        QString destinationPath;  // "/" and the computer folder until Backup Now sets the real one
    };
    using Factory = std::function<std::unique_ptr<BackupSessionDriver>(const Setup &, BackupSessionEvents &)>;

    virtual ~BackupSessionDriver() = default;

    virtual void setuserInfo(const User &user) = 0;
    virtual void setDestinationPath(const QString &path) = 0;
    virtual QString DestinationPath() const = 0;
    virtual void shouldBackupVersions(bool keep) = 0;
    virtual void setMBackupMode(bool backupMode) = 0;
    virtual void setFileFolderSetForOperation(const QStringList &paths) = 0;
    virtual void setExecutorPath(const QString &path) = 0;
    virtual void setBackedUpFileQueue(BackedUpFileQueue *queue) = 0;
    virtual void startBackup() = 0;

    virtual bool isRunning() const = 0;
    virtual void setRunningState(bool running) = 0;
    virtual void pause(bool paused) = 0;
    virtual void CancelBackupProcess() = 0;
    virtual void removeTempFilePaths() = 0;

    virtual long succesFileCount() const = 0;
    virtual long incSuccessFileCount() const = 0;
    virtual long failureFileCount() const = 0;
    virtual bool isExcludedFromBackupSet() const = 0;
    virtual unsigned excludedFilesCount() const = 0;
};
