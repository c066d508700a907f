#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class BackedUpFileQueue;
class RuvoBackupRestoreHandlerProtocol;
class User;

// One backup or restore session as a page of the client drives it: set up,
// started, paused, cancelled and read after its end. Implemented by the
// session layer's RuvoBackupManager; the pages' tests pass a fake. What the
// session tells its page goes to a RuvoBackupRestoreHandlerProtocol, on the
// main thread, ending with exactly one of the four end states.
class SessionDriver
{
public:
    // What a fresh driver is made with.
    struct Setup
    {
        bool backupMode = true;
        QString applicationSupportFolder;
        QString destinationPath;  // "/" and the computer folder until Backup Now sets the real one
    };
    using Factory =
        std::function<std::unique_ptr<SessionDriver>(const Setup &, RuvoBackupRestoreHandlerProtocol &events)>;

    virtual ~SessionDriver() = default;

    // The engine's fields of the account (name, passwords, keys, server, port).
    virtual void setuserInfo(const User &user) = 0;
    virtual void setDestinationPath(const QString &path) = 0;
    virtual QString DestinationPath() const = 0;
    virtual void shouldBackupVersions(bool keep) = 0;
    virtual void setMBackupMode(bool backupMode) = 0;
    virtual void setExecutorPath(const QString &path) = 0;
    virtual void setBackedUpFileQueue(BackedUpFileQueue *queue) = 0;

    // A backup of these paths. A first backup to a drive makes the account's folder on it.
    virtual void setFileFolderSetForOperation(const QStringList &paths) = 0;
    virtual void startBackup() = 0;

    // A restore of the picked folders (relative to the data root, no leading
    // "/") and files (their index paths) into the given local folder.
    virtual void setBackupSourceFolder(const QString &path) = 0;
    virtual QStringList &mFolderSetForRelativeRestore() = 0;
    virtual QStringList &mFileSetForRestore() = 0;
    virtual void startRestore() = 0;

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
