#include "daemon/ScheduledBackup.h"

#include "daemon/SessionDayFile.h"

#include "common/backupset/BackupSetFiles.h"
#include "common/files/TXSupportFileManager.h"
#include "common/files/TextFile.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/login/StoredLoginDetails.h"
#include "common/login/UserFiles.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "index/manager/TarnixDBManager.h"
#include "platform/PathStandardizer.h"
#include "platform/PropertyList.h"
#include "platform/VolumeFacts.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

ScheduledBackup::ScheduledBackup(Job job, SessionTimings sessionTimings, IndexManagerTimings indexTimings,
                                 Finished finished)
    : mJob(std::move(job))
    , mIndexTimings(indexTimings)
    , mFinished(std::move(finished))
    , mIndexQueue(*this)
    , mManager(std::make_unique<RuvoBackupManager>(sessionTimings))
{}

ScheduledBackup::~ScheduledBackup()
{
    mManager.reset();
    if (mIndex)
        mIndex->stopDBOperation();  // the last tick writes what the run stored; the destructor waits for its merge
}

QString ScheduledBackup::computerFolder(const QString &destination)
{
    static const QStringList defaultLabels{"MyTarnix", "MyQuellon", "My Tarnix", "My Quellon"};
    const QString name = destination.trimmed();
    if (name.isEmpty() || defaultLabels.contains(name) || name.contains(QLatin1Char('/')) ||
        name == QLatin1String(".."))
        return QLatin1Char('/') + QLUtility::machineName();
    return QLatin1Char('/') + name;
}

std::optional<QString> ScheduledBackup::prepare(QStringList &selection)
{
    const QString user = mJob.userName;
    if (mJob.scheduleType != 0)
        return QStringLiteral("Scheduled restores are not run by this daemon.");
    const QVariantMap login =
        PropertyList::readDictionary(UserFiles::path(QStringLiteral("LoginDetailsFilePath"), user));
    namespace SLD = StoredLoginDetails;
    if (user.isEmpty() || login.isEmpty())
        return QStringLiteral("No stored login for the account \"%1\": log in with the application once.").arg(user);

    // The set and the Time Machine reference list, as Backup Now takes them; an unreadable set is an error.
    const auto set = BackupSetFiles::readList(mJob.backupSetFile);
    if (!set)
        return QStringLiteral("The backup set of \"%1\" cannot be read (%2).").arg(user, mJob.backupSetFile);
    selection =
        *set + BackupSetFiles::readList(BackupSetFiles(user, true).timeMachineListPath()).value_or(QStringList());
    selection.removeAll(QString());
    selection.removeDuplicates();
    if (selection.isEmpty())
        return QStringLiteral("The backup set of \"%1\" is empty (%2).").arg(user, mJob.backupSetFile);

    const QString volume =
        TextFile::read(UserFiles::path(QStringLiteral("DestinationDrivePath"), user)).value_or(QString()).trimmed();
    if (volume.isEmpty() || !QFileInfo(volume).isDir())
        return QStringLiteral("The destination drive of \"%1\" is not attached%2.")
            .arg(user, volume.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(volume));
    if (selection.contains(volume) || (VolumeFacts::isStartupVolume(volume) && selection.contains(QStringLiteral("/"))))
        return QStringLiteral("The destination drive %1 is part of the backup set.").arg(volume);

    mAccount.setUserName(user);
    mAccount.setMEncodedPassword(login.value(SLD::kEncodedPassword).toString());
    mAccount.setMEncodedKey(login.value(SLD::kEncodedKey).toString());
    mAccount.setRuvoServerIP(login.value(SLD::kServerName).toString());
    mAccount.setPort(QLUtility::portParam());
    mAccount.setRuvoUser(QFileInfo::exists(UserFiles::path(QStringLiteral("RuvoUserDetails"), user)));
    mComputerFolder = computerFolder(mJob.destination);
    mDataRoot = PathStandardizer::standardizePath(
        volume + '/' + Brand::pick(QStringLiteral("TarnixVidezud"), QStringLiteral("QuellonVidezud")) + '/' + user +
        mComputerFolder);

    // The drive's index of this account, as the client keeps it after a login.
    TXSupportFileManager &files = TXSupportFileManager::txFileManager();
    files.setTarnixUserName(user);
    bool changed = false;
    files.setDestinationDrive(QFileInfo(volume).fileName(), &changed);
    mIndex = std::make_unique<TarnixDBManager>(mIndexTimings);
    mIndex->setMainController(this);
    return std::nullopt;
}

void ScheduledBackup::start()
{
    const QString logsFolder = QLLocalizedString(QStringLiteral("SessionLogsFolderPath"));
    QDir().mkpath(logsFolder);
    // "<operation> <month-day-year-hour-minute-second>", the form the monitor's session-log list reads.
    mResult.sessionLogPath = QDir(logsFolder)
                                 .filePath(QStringLiteral("Backup ") + QDateTime::currentDateTime().toString(
                                                                           QStringLiteral("MM-dd-yyyy-HH-mm-ss")));
    mStartStamp = QLUtility::getSessionLogTime();
    log(QStringLiteral("Scheduled backup of %1 started at %2").arg(mJob.userName, mStartStamp));

    QStringList selection;
    if (const auto problem = prepare(selection)) {
        // Told from the event loop, as a session tells its ends.
        QTimer::singleShot(0, this, [this, reason = *problem] { finish(Result::End::Failed, reason); });
        return;
    }
    log(QStringLiteral("Destination: %1").arg(mDataRoot));
    for (const QString &path : selection)
        log(QStringLiteral("Selected: %1").arg(path));

    RuvoBackupManager &manager = *mManager;
    manager.setDelegate(this);
    manager.setRelativeOperation(true);
    manager.setMBackupMode(true);
    manager.setApplicationSupportFolder(UserFiles::path(QStringLiteral("UserFolder"), mJob.userName) +
                                        QStringLiteral("/Scheduled"));
    manager.setBackupSourceFolder(QStringLiteral("/"));
    manager.setDestinationPath(mDataRoot);
    manager.setForOB(true);
    manager.setRestore(false);
    manager.deleteTempFilePaths();
    manager.createTempFilePaths();
    manager.setCancel(false);
    manager.userInfo().copyEngineFieldsFrom(mAccount, mAccount.Port());
    if (mAccount.isRuvoUser())
        manager.setProxyObjectWithSettingsFile(
            TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ProxySetting));
    manager.setExecutorPath(
        QLLocalizedString(mAccount.isRuvoUser() ? QStringLiteral("ExecuterPathRuvo") : QStringLiteral("ExecuterPath")));
    const QVariantMap preferences =
        PropertyList::readDictionary(QLLocalizedString(QStringLiteral("MonitorPreferencePath")));
    manager.shouldBackupVersions(
        preferences.value(mJob.userName).toMap().value(QStringLiteral("EnableVersion")).toBool());
    manager.setBackedUpFileQueue(&mIndexQueue);
    manager.setFileFolderSetForOperation(selection);
    QDir().mkpath(mDataRoot);
    manager.startBackup();
}

void ScheduledBackup::cancel()
{
    if (mEnded)
        return;
    if (!std::exchange(mCancelAsked, true))
        log(QStringLiteral("Stop requested"));
    mManager->CancelBackupProcess();
}

void ScheduledBackup::pause(bool paused)
{
    if (mEnded || paused == mPaused)
        return;
    mPaused = paused;
    log(paused ? QStringLiteral("Paused") : QStringLiteral("Resumed"));
    mManager->pause(paused);
}

void ScheduledBackup::operationDidReceiveErrors(const QString &message, const QString &file, SessionDriver *)
{
    log(QStringLiteral("Error: %1 %2").arg(message, file));
}

void ScheduledBackup::finish(Result::End end, const QString &message)
{
    if (mEnded)
        return;
    mEnded = true;
    mResult.end = end;
    mResult.message = message;
    mResult.successCount = mManager->succesFileCount();
    mResult.failureCount = mManager->failureFileCount();
    mResult.syncFileCount = mManager->syncFileCount();
    mResult.totalCount = long(mManager->filesConsideredforOp());
    const QString endStamp = QLUtility::getSessionLogTime();
    static const char *const endWords[] = {"completed", "was cancelled", "failed"};
    log(QStringLiteral("Scheduled backup %1 at %2").arg(QLatin1String(endWords[int(end)]), endStamp));
    if (!message.isEmpty())
        log(QStringLiteral("Reason: %1").arg(message));
    log(QStringLiteral("Files: %1 backed up, %2 already in sync, %3 failed, %4 in all")
            .arg(mResult.successCount)
            .arg(mResult.syncFileCount)
            .arg(mResult.failureCount)
            .arg(mResult.totalCount),
        true);
    sendSessionLogInformation(QStringLiteral("Backup"), int(mResult.totalCount), int(mResult.syncFileCount),
                              mResult.sessionLogPath,
                              QLUtility::getSessionDurationWithStartDate(mStartStamp, endStamp));
    mFinished(mResult);
}

void ScheduledBackup::log(const QString &line, bool flush)
{
    QLBackupProgressLogger::progressLogger().writeSessionLog(line, mResult.sessionLogPath, flush);
}

void ScheduledBackup::sendSessionLogInformation(const QString &, int totalFileCount, int syncFileCount,
                                                const QString &sessionLogFilePath, const QString &duration)
{
    static const char *const statuses[] = {"Success", "Cancelled", "Failure"};
    SessionDayFile::Record record;
    record.end = QDateTime::currentDateTime();
    record.userName = mJob.userName;
    record.status = QLatin1String(statuses[int(mResult.end)]);
    record.startTime = mStartStamp;
    record.duration = duration;
    record.files = totalFileCount;
    record.filesInSync = syncFileCount;
    record.logFile = sessionLogFilePath;
    if (!SessionDayFile::append(QLLocalizedString(QStringLiteral("SessionLogsFolderPath")), record))
        log(QStringLiteral("The session-log record could not be added"), true);
}

void ScheduledBackup::IndexQueue::addBackedUpFile(const BackedUpFile &file)
{
    if (mOwner.mIndex)
        mOwner.mIndex->addBackedUpFile(file);
}
