#include "engine/controllers/RuvoVersionRestoreController.h"

#include "common/account/QLApplicationDelegate.h"
#include "common/files/TXSupportFileManager.h"
#include "common/files/TextFile.h"
#include "common/logging/OnlineLogController.h"
#include "common/texts/QLLocalizedString.h"
#include "common/transfer/FileTransferData.h"
#include "common/utility/QLUtility.h"
#include "engine/command/EngineCommandLines.h"
#include "engine/controllers/VersionRestoreProtocol.h"
#include "engine/parsing/QLSYNCParser.h"
#include "platform/PathStandardizer.h"

#include <QDir>
#include <QFile>

namespace {

constexpr int kProgressOutputType = 0;
const QString kOperationName = QStringLiteral("version");
const QString kNoEngineText = QStringLiteral("The engine could not be given its list of files.");

QString cancelFilePath()
{
    return PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("VersionRestoreCancelCheck")));
}

}  // namespace

RuvoVersionRestoreController::RuvoVersionRestoreController(TarnixProcessLibTimings timings,
                                                           VersionRestoreProgress::Draw draw)
    : mEngineOne(this, nullptr, timings)
    , mDraw(std::move(draw))
{}

bool RuvoVersionRestoreController::createTempFilePaths()
{
    if (!mApplicationSupportFolderPath.isEmpty())
        QDir(mApplicationSupportFolderPath + QStringLiteral("/Operation/") + kOperationName).removeRecursively();
    mApplicationSupportFolderPath =
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::UserFolder);
    mBackupRuvoTempPath = mApplicationSupportFolderPath + QStringLiteral("/Operation/") + kOperationName;
    mSourceA = mBackupRuvoTempPath + QStringLiteral("/SourceA");
    mErrorA = mBackupRuvoTempPath + QStringLiteral("/ErrorA");
    return !mApplicationSupportFolderPath.isEmpty() && QDir().mkpath(mBackupRuvoTempPath);
}

void RuvoVersionRestoreController::versionRestore()
{
    // The finish of a cancelled run may still be on its way: it must not end this one.
    if (mIsRestoring || mRunOutstanding)
        return;
    const bool prepared = createTempFilePaths();
    mIsRestoring = true;
    mIsCancelled = false;
    mVersionRestoreDidFail = false;
    mFirstError.clear();
    mStartTime = QDateTime::currentDateTime();
    TextFile::write(cancelFilePath(), QStringLiteral("0"));
    mPathForRestore = mVersionFilepath;
    const QString target = VersionRestoreProgress::targetName(mVersionFilepath, mSelectedVersionObj.version().toInt());
    mVersionFileSize = QLUtility::formatedFileSizeAsString(quint64(mSelectedVersionObj.SizeinBytes()));
    mVersionFileVersion = mSelectedVersionObj.version();
    writeStartOfSessionLog();
    const QString listFile = mBackupRuvoTempPath + u'/' + kOperationName;
    const bool listWritten = prepared && TextFile::write(listFile, target);
    if (mDelegate)
        mDelegate->willStartVersionRestoreforPath(mPathForRestore, mSelectedVersionObj.versionID(), mRestoreFilePath);
    // Without its list the engine is not started, and the run ends here.
    if (!listWritten || !RuvofireBackupProcessForEngine(listFile))
        return fail(kNoEngineText);
    if (mDelegate)
        mDelegate->operationDidStart(this);
}

void RuvoVersionRestoreController::writeStartOfSessionLog()
{
    const QString folder =
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::SessionLogsFolderPath) +
        QStringLiteral("Restore");
    QDir().mkdir(folder);
    mRestoreSessionFilePath = folder + u'/' + QLUtility::getLogTime();
    log(QStringLiteral("Restore Operation"));
    log(QStringLiteral("Username: %1").arg(mUserObject.UserName()));
    const QString startTime = QLUtility::getSessionLogTime();
    log(QStringLiteral("Start Time: %1").arg(startTime), false);
    OnlineLogController &onlineLog = OnlineLogController::SharedOnlineLogController();
    onlineLog.SetSessionPath(OnlineLogController::userSessionUploadPath());
    onlineLog.setOperationStartTime(startTime);
    log(QStringLiteral("Restore location: %1\n").arg(mRestoreFilePath), false);
    log(QStringLiteral("Restore Content: \n(\n    %1\n)\n").arg(mDisplayFilePath), false);
    log(QStringLiteral("Version Restore File Name: %1  | File Version: %2 | File Size: %3 ")
            .arg(mDisplayFilePath, mVersionFileVersion, mVersionFileSize));
}

bool RuvoVersionRestoreController::RuvofireBackupProcessForEngine(const QString &listFile)
{
    reloadProxySettings();
    const QString outputFile = mBackupRuvoTempPath + QStringLiteral("/OutData.txt");
    const QString errorFile = mBackupRuvoTempPath + QStringLiteral("/ErrorData.txt");
    mEngineOne.setOutDataText(outputFile);
    mEngineOne.setErrorDataText(errorFile);
    QFile::remove(mSourceA);
    if (!QFile::copy(listFile, mSourceA))
        return false;
    const EngineCommandLines::VersionRestoreFiles files{mErrorA,   mBackupRuvoTempPath, outputFile,
                                                        errorFile, mDestinationFolder,  cancelFilePath(),
                                                        mSourceA,  mRestoreFilePath};
    mEngineOne.setArguments(
        EngineCommandLines::versionRestore(mTXSExecutorPath, mUserObject, mProxyObject.proxyArgument(), files));
    mEngineOne.cumulativeSizeForSession = 0;
    mRunOutstanding = true;
    mEngineOne.startProcess();
    return true;
}

void RuvoVersionRestoreController::updateProgress(const QString &lines, TarnixProcessLib *engine)
{
    if (lines.isEmpty() || !engine || mIsCancelled)
        return;
    FileTransferData record;
    ProgressReport progress;
    for (const QString &line : lines.split(u'\n')) {
        if (line.isEmpty() || QLSYNCParser::ParseLineStr(line, record, kProgressOutputType) < 0)
            continue;
        mEngineOne.cumulativeSizeForSession = record.tottrf_sz().toDouble();
        const qint64 elapsed = std::max<qint64>(mStartTime.secsTo(QDateTime::currentDateTime()), 1);
        VersionRestoreProgress::update(progress, record, mSelectedVersionObj, mEngineOne.cumulativeSizeForSession,
                                       elapsed, mDraw);
        if (mDelegate)
            mDelegate->operationDidReceiveData(progress, this);
    }
}

void RuvoVersionRestoreController::getError(const QString &text, TarnixProcessLib *engine)
{
    if (engine != &mEngineOne || text.isEmpty())
        return;
    mVersionRestoreDidFail = true;
    if (mFirstError.isEmpty())
        mFirstError = text.trimmed();
    log(QStringLiteral("Version Restore: %1").arg(text));
}

void RuvoVersionRestoreController::processFinishedOfEngine(TarnixProcessLib *engine)
{
    if (engine != &mEngineOne)
        return;
    mRunOutstanding = false;
    if (mIsCancelled || !mIsRestoring)
        return;
    // An engine that reported an error restored nothing that can be trusted.
    if (mVersionRestoreDidFail)
        return fail(mFirstError);
    closeSession(QStringLiteral("Success"), QStringLiteral("Restored successfully"), true);
    mIsRestoring = false;
    if (mDelegate)
        mDelegate->didFinishVersionRestoreforPath(mVersionFilepath, mSelectedVersionObj.versionID(), mRestoreFilePath);
}

void RuvoVersionRestoreController::cancelRestore()
{
    if (!mIsRestoring)
        return;
    TextFile::write(cancelFilePath(), QStringLiteral("3"));
    closeSession(QStringLiteral("Cancelled"), QStringLiteral("Version Restore: Operation canceled"), false);
    mIsRestoring = false;
    mIsCancelled = true;
    if (mEngineOne.isRunning())
        mEngineOne.stopProcess();
    if (mDelegate)
        mDelegate->versionRestoreDidCancel(this);
}

void RuvoVersionRestoreController::fail(const QString &error)
{
    closeSession(QStringLiteral("Failed"), QStringLiteral("Version Restore failed: %1").arg(error), false);
    mIsRestoring = false;
    if (mDelegate)
        mDelegate->versionRestoreDidFail(error, this);
}

void RuvoVersionRestoreController::closeSession(const QString &status, const QString &lastLine, bool restored)
{
    OnlineLogController &onlineLog = OnlineLogController::SharedOnlineLogController();
    onlineLog.setOperationStatus(status);
    const QString endTime = QLUtility::getSessionLogTime();
    log(QStringLiteral("End Time: %1\n").arg(endTime));
    log(lastLine);
    const QString summary = mRestoreSessionFilePath + QStringLiteral(".summary");
    mSessionLogger.writeSessionLog(QStringLiteral("Files considered for restore: 1"), summary, true);
    mSessionLogger.writeSessionLog(QStringLiteral("Files already present in the restore location: 0"), summary, true);
    mSessionLogger.writeSessionLog(QStringLiteral("Files restored  now: %1").arg(restored ? 1 : 0), summary, true);
    QLApplicationDelegate *mainController = mMainController ? mMainController : QLApplicationDelegate::current();
    if (mainController) {
        mainController->sendSessionLogInformation(
            QStringLiteral("Restore"), 1, 0, mRestoreSessionFilePath,
            QLUtility::getSessionDurationWithStartDate(onlineLog.operationStartTime(), endTime));
    }
}

void RuvoVersionRestoreController::log(const QString &line, bool flush)
{
    mSessionLogger.writeSessionLog(line, mRestoreSessionFilePath, flush);
}
