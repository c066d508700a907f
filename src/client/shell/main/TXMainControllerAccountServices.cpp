// Services of the logged-in account: quota, web-page tokens and the sync account.
#include "client/shell/main/TXMainController.h"
#include "common/files/DirectiryCreation.h"

#include "client/shell/main/TXMainView.h"
#include "common/account/SyncDetailsKeys.h"
#include "common/files/TXSupportFileManager.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/login/UserFiles.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "platform/MainThread.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>

namespace {

void traceSync(const QString &text) { QLBackupProgressLogger::progressLogger().logInteractiveTrace(text, true); }

QString syncDetailsPath(const QString &userName)
{
    return UserFiles::path(QStringLiteral("SyncDetailsFilePath"), userName);
}

bool isFailure(const QVariantMap &reply)
{
    return reply.value(QStringLiteral("message")).toString().contains(QLatin1String("FAILURE"), Qt::CaseInsensitive);
}

}  // namespace

// --- Quota ---

void TXMainController::calQuota()
{
    if (!mServices.measureQuota) {
        quotaMeasured(std::nullopt);
        return;
    }
    mServices.measureQuota(*this, [this](std::optional<QVariantMap> output) {
        MainThread::runInThreadOf(this, [this, output] { quotaMeasured(output); });
    });
}

void TXMainController::quotaMeasured(const std::optional<QVariantMap> &output)
{
    // A failed measurement, or one without a usable total, changes nothing shown or stored.
    const auto report = output ? QuotaReport::fromEngineOutput(*output) : std::nullopt;
    if (report) {
        mView.setQuotaPercentage(report->percentage());
        if (report->isExceeded())
            displayQuotaExceedMessage();
        report->store(TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::UserDetailsPath));
    }
    // After an accepted private key the quota answer, whatever it is, completes the login.
    if (mCompletesLoginOnQuota) {
        mCompletesLoginOnQuota = false;
        onSuccessfulLogin(true);
    }
}

void TXMainController::displayQuotaExceedMessage()
{
    if (!Brand::isTarnix() || !shouldDisplayQuotaMessageOnce)
        return;
    shouldDisplayQuotaMessageOnce = false;
    const AlertRequest alert{
        QLLocalizedString(QStringLiteral("Quota Exceeded")),
        QLLocalizedString(QStringLiteral(
            "You have utilized the allocated storage space. For further backups, upgrade your account.")),
        QLLocalizedString(QStringLiteral("Upgrade")),
        QLLocalizedString(QStringLiteral("Continue")),
        {},
        {}};
    if (mAlerts.confirm(alert))
        upgrade();
}

void TXMainController::upgrade()
{
    mUpgradeToken.request(mUserObj.UserName(), mUserObj.Password(), QStringLiteral("upgrade"));
}

// --- Sync account ---

void TXMainController::validateIfSyncActivated()
{
    syncUserPwdInfo.GetTarnixsyncAccountUsernameAndPassword(mUserObj.UserName(), mUserObj.Password(),
                                                            mUserObj.isDefaultKey() ? QStringLiteral("default")
                                                                                    : mUserObj.PrivateKey());
}

void TXMainController::didScriptControllerFinishedSuccessfully(const QVariant &result, ScriptController *controller)
{
    const QVariantMap reply = result.toMap();
    if (reply.isEmpty())
        return;
    if (controller == &syncUserPwdInfo) {
        if (isFailure(reply)) {
            traceSync(QStringLiteral("syncUserPassword failed. Error: %1")
                          .arg(reply.value(QStringLiteral("desc")).toString()));
            isSyncActivated = false;
        } else if (!reply.contains(QStringLiteral("username_sync"))) {
            isSyncActivated = false;
        } else {
            syncAccountConfirmed(reply);
        }
    } else if (controller == &SyncUserDetailsInfo) {
        if (isFailure(reply))
            traceSync(QStringLiteral("SyncUserDetailsInfo failed. Error: %1")
                          .arg(reply.value(QStringLiteral("desc")).toString()));
        else if (reply.contains(SyncDetailsKeys::kRuvoServerIP))
            setTarnixSyncAccountDetails(reply);
    }
}

void TXMainController::syncAccountConfirmed(const QVariantMap &reply)
{
    const QString user = reply.value(QStringLiteral("username_sync")).toString();
    const QString password = reply.value(QStringLiteral("password_sync")).toString();
    QString error;
    const auto encoded = QLUtility::encodeString(password, &error, mTimings.login.encoding);
    if (!encoded) {
        // Without the engine's form of the password no sync run could sign in.
        traceSync(QStringLiteral("The sync account cannot be used: its password could not be encoded (%1)").arg(error));
        return;
    }
    isSyncActivated = true;
    mUserObj.setMSyncUserName(user);
    TXSupportFileManager::txFileManager().setSyncUserName(user);
    if (!mDBManager)
        replaceIndexWorker(true);
    mUserObj.setMSyncPassword(password);
    mUserObj.setMSyncEncodedPwd(*encoded);
    emit accountDidChange();
    const QString path = syncDetailsPath(TXSupportFileManager::txFileManager().TarnixUserName());
    if (QFileInfo::exists(path)) {
        QVariantMap details = PropertyList::readDictionary(path);
        details.insert(SyncDetailsKeys::kSyncUserName, user);
        details.insert(SyncDetailsKeys::kSyncEncodedPassword, *encoded);
        PropertyList::write(path, details, PropertyList::kOwnerReadWrite);
        mView.setSwitchModeVisible(true);
    }
    if (!mBackupMode)
        mView.setLoginMode(false);
    traceSync(QStringLiteral("sync is in activated state"));
    SyncUserDetailsInfo.GetSyncDetailsForUsername(user, password);
}

void TXMainController::setTarnixSyncAccountDetails(QVariantMap reply)
{
    mUserObj.setMSyncRuvoServerIP(reply.value(SyncDetailsKeys::kRuvoServerIP).toString());
    reply.insert(SyncDetailsKeys::kSyncUserName, mUserObj.mSyncUserName());
    reply.insert(SyncDetailsKeys::kSyncEncodedPassword, mUserObj.mSyncEncodedPwd());
    const QString webServer = reply.value(QStringLiteral("ruvowebsrvrip")).toString();
    const qsizetype cut = webServer.indexOf(QLatin1String("><"));
    if (cut >= 0)
        reply.insert(QStringLiteral("ruvowebsrvrip"), webServer.left(cut));
    const QString path = syncDetailsPath(TXSupportFileManager::txFileManager().TarnixUserName());
    Directiry_Creation::createPrivateDirectoryHierarchyAtPath(QFileInfo(path).absolutePath());
    PropertyList::write(path, reply, PropertyList::kOwnerReadWrite);
    TXSupportFileManager::txFileManager().setSyncUserName(mUserObj.mSyncUserName());
    mView.setSwitchModeVisible(true);
}

void TXMainController::connectionError(const QString &error, ScriptController *)
{
    traceSync(QStringLiteral("Sync, connectionError %1").arg(error));
}

void TXMainController::parsingFailedWithError(const QString &error, ScriptController *)
{
    traceSync(QStringLiteral("Sync, parsingFailedWithError %1").arg(error));
}
