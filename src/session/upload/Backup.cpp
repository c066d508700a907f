#include "session/upload/Backup.h"

#include "common/files/TXSupportFileManager.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/proxy/ProxyController.h"
#include "common/texts/QLLocalizedString.h"
#include "engine/command/EngineArgumentsBuilder.h"
#include "engine/command/TXCommandExcecuter.h"
#include "platform/DateFormat.h"
#include "session/vectors/SessionEngineVectors.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

const QString kBackupLog = QStringLiteral("--backup-log");
const QString kThumbnail = QStringLiteral("--thumbnail");
const QString kImageMetadata = QStringLiteral("--attrib-ornt2");

QString folderOf(const QString &path) { return QFileInfo(path).path(); }

}  // namespace

Backup::Backup(Account account, QString errorFile, QString backupSetPath, QString serverPath, bool useSSL)
    : mAccount(std::move(account))
    , mErrorFiles(std::move(errorFile))
    , mBackupSetPath(std::move(backupSetPath))
    , mServerPath(std::move(serverPath))
    , mUseSSL(useSSL)
{}

Backup::~Backup() = default;

int Backup::BackupData(const QString &listFile, const QString &)
{
    // Claimed before the vector is built: it names the files the running engine writes.
    if (mRunning.exchange(true))
        return -1;
    return runClaimed(uploadVector(listFile));
}

EngineArguments Backup::uploadVector(const QString &listFile)
{
    // The date's default text form: "2026-12-10 19:55:00 +0000".
    const QString date = DateFormat::format(QDateTime::currentDateTime(), QStringLiteral("yyyy-MM-dd HH:mm:ss xx"));
    mOutFilePath = folderOf(mErrorFiles) + QStringLiteral("/outFile_") + date;
    mErrorFilePath = folderOf(mErrorFiles) + QStringLiteral("/errorFile_") + date;
    EngineArguments vector = mAccount.isRuvoUser ? storageEngineVector(listFile) : rsyncStyleVector(listFile);
    thin(vector.arguments);
    return vector;
}

EngineArguments Backup::storageEngineVector(const QString &listFile) const
{
    const ProxyController proxy(
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ProxySetting));
    EngineArgumentsBuilder args;
    args.add("--encode").add("--no-versions").add("--portable-dest=", mServerPath).add("--portable").add("--enc-opt");
    args.add(kImageMetadata).add(kBackupLog).add("--relative").add("--add-progress");
    args.timeLimit(EngineArgumentsBuilder::TimeLimit::Uploader).port(mAccount.portArgument);
    if (!mAccount.isDefaultKey)
        args.privateKey(mAccount.privateKey);
    args.passwordFile(mAccount.password).add("--o=", mOutFilePath).add("--e=", mErrorFilePath).add(kThumbnail);
    // Kept even as the bare "--proxy=".
    args.proxy(proxy.proxyArgument()).add("--temp=", folderOf(listFile)).add("--files-from=", listFile);
    args.add(mBackupSetPath).remote(mAccount.userName.toLower(), remoteServer(), mServerPath);
    return args.build();
}

EngineArguments Backup::rsyncStyleVector(const QString &listFile) const
{
    EngineArgumentsBuilder args;
    args.add("--relative").add("-z").add("--compress").add("-v").add("-t").add("--inplace").add("--bwlimit=32765");
    args.timeLimit(EngineArgumentsBuilder::TimeLimit::Engine).add("--port=", QLLocalizedString("NonSSLPort"));
    args.add("--errlog-from=", mErrorFiles).add("--progress").add("--block-size=30720");
    args.add("--files-from=", listFile).add(mBackupSetPath);
    args.remote(mAccount.userName.toLower(), remoteServer(), mServerPath);
    return args.build();
}

QString Backup::remoteServer() const
{
    return mUseSSL && !mAccount.isRuvoUser ? QStringLiteral("localhost") : mAccount.serverIP;
}

// Takes out what the flags do not ask for, in this order.
void Backup::thin(QStringList &arguments) const
{
    if (!mUploadLog)
        arguments.removeAll(kBackupLog);
    if (!mThumbnail)
        arguments.removeAll(kThumbnail);
    if (!mImageMetadata)
        arguments.removeAll(kImageMetadata);
    if (mImageMetadata) {
        arguments.removeAll(mBackupSetPath);
        arguments.removeAll(QStringLiteral("--relative"));
        arguments.removeAll(QStringLiteral("--add-progress"));
    }
    if (mTimeMachine) {
        arguments.removeAll(kBackupLog);
        arguments.removeAll(kThumbnail);
        arguments.removeAll(kImageMetadata);
    }
}

int Backup::RunTXRUVOCommand(EngineArguments arguments)
{
    if (mRunning.exchange(true))
        return -1;
    return runClaimed(std::move(arguments));
}

int Backup::runClaimed(EngineArguments arguments)
{
    QLBackupProgressLogger::progressLogger().logInteractiveTrace(
        QStringLiteral("In BackupData ") + SessionEngineVectors::loggedCopy(arguments.arguments).join(u' '), true);
    TXCommandExcecuter executer;
    executer.setCommandString(mAccount.executorPath);
    executer.setCommandArguments(std::move(arguments));
    executer.setDelegate(this);
    {
        std::lock_guard lock(mCommandLock);
        mCommand = &executer;
    }
    QString status;
    executer.executeThumbnailBackup(&status);
    {
        std::lock_guard lock(mCommandLock);
        mCommand = nullptr;
    }
    mRunning = false;
    QLBackupProgressLogger::progressLogger().logInteractiveTrace(QStringLiteral("Exit of BackupData"), true);
    return status.isEmpty() ? 0 : -1;
}

void Backup::stopProcess()
{
    std::lock_guard lock(mCommandLock);
    if (mCommand)
        mCommand->stopProcess();
}
