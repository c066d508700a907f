#pragma once

#include "engine/command/EngineArguments.h"
#include "engine/command/TXCommandDelegate.h"

#include <QString>

#include <atomic>
#include <mutex>

class TXCommandExcecuter;

// One synchronous engine run that copies the files named in a list file from
// a local source root to a folder on the destination: the common back end of
// the small uploads after a backup (attribute lists, image metadata,
// thumbnails, session logs). A caller makes one per run, sets its flags and
// calls BackupData, which blocks until the engine has ended.
class Backup : public TXCommandDelegate
{
public:
    struct Account
    {
        QString executorPath;
        QString userName;
        QString password;      // engine-encoded; reaches the engine as a private file
        QString portArgument;  // "--port=443", passed as given
        QString serverIP;
        bool isRuvoUser = false;   // storage-server account: the storage-engine vector
        bool isDefaultKey = true;  // no "--pvt-key="
        QString privateKey;        // engine-encoded; reaches the engine as a private file
    };

    // errorFile: the caller's error file, in whose folder the engine's output
    // and error files are made. backupSetPath: the local source root.
    // serverPath: the destination folder. Starts with the upload-log flag on
    // and the other flags off.
    Backup(Account account, QString errorFile, QString backupSetPath, QString serverPath, bool useSSL);
    ~Backup() override;

    // "--backup-log", "--thumbnail" and "--attrib-ornt2" stay only when
    // their flag asks for them; image metadata goes without the source root,
    // "--relative" and "--add-progress"; a Time Machine upload takes out all
    // three flags' options.
    void setUploadLogFlag(bool on) { mUploadLog = on; }
    void setThumbnailUploadFlag(bool on) { mThumbnail = on; }
    void setshouldUpdateIMD(bool on) { mImageMetadata = on; }
    void setTimeMachineBackup(bool on) { mTimeMachine = on; }

    // Uploads the files listed in listFile: 0 when the engine ran and left no
    // error text, -1 otherwise (also while an earlier run of this uploader
    // still runs). The destination is the server path given at creation; the
    // second argument is not used.
    int BackupData(const QString &listFile, const QString &serverPath = {});
    // The vector of an upload of listFile; names this run's output and error files.
    EngineArguments uploadVector(const QString &listFile);
    int RunTXRUVOCommand(EngineArguments arguments);
    // Stops the running engine; may be called from any thread.
    void stopProcess();

    // TXCommandDelegate: the engine's files of the current run.
    void ruvoTaskFinished(TXCommandExcecuter *) override {}
    QString outFilePath() const override { return mOutFilePath; }
    QString errorFilePath() const override { return mErrorFilePath; }

private:
    EngineArguments storageEngineVector(const QString &listFile) const;
    EngineArguments rsyncStyleVector(const QString &listFile) const;
    QString remoteServer() const;
    void thin(QStringList &arguments) const;
    // Runs the vector once this uploader is marked as running.
    int runClaimed(EngineArguments arguments);

    const Account mAccount;
    const QString mErrorFiles;
    const QString mBackupSetPath;
    const QString mServerPath;
    const bool mUseSSL;
    bool mUploadLog = true;
    bool mThumbnail = false;
    bool mImageMetadata = false;
    bool mTimeMachine = false;
    QString mOutFilePath;
    QString mErrorFilePath;

    std::atomic_bool mRunning = false;
    std::mutex mCommandLock;
    TXCommandExcecuter *mCommand = nullptr;  // the executer while a run is under way
};
