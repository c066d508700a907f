// The account set-up after a successful login.
#include "client/shell/main/TXMainController.h"
#include "common/files/DirectiryCreation.h"

#include "client/shell/login/LoginView.h"
#include "client/shell/main/TXMainView.h"
#include "common/account/SyncDetailsKeys.h"
#include "common/categories/QuellonExtension.h"
#include "common/files/TXSupportFileManager.h"
#include "common/files/TextFile.h"
#include "common/login/StoredLoginDetails.h"
#include "common/login/UserFiles.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "platform/MachineFacts.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>

namespace SLD = StoredLoginDetails;

namespace {

QString loginFilePath(ApplicationFile file)
{
    return TXSupportFileManager::txFileManager().pathForApplicationFile(file);
}

QString userPath(const char *key, const QString &userName) { return UserFiles::path(QLatin1String(key), userName); }

}  // namespace

void TXMainController::onSuccessfulLogin(bool quotaMeasured)
{
    if (isPvtKeyValidatedcalledOnce)
        return;
    isPvtKeyValidatedcalledOnce = true;
    const QVariantMap loginDetails = mLoginViewController.loggedInUserDetails();
    const QVariantMap accountDetails = mLoginViewController.loggedInAccountDetails();
    const QString userName = loginDetails.value(SLD::kTarnixUsername).toString();
    TXSupportFileManager::txFileManager().setTarnixUserName(userName);
    mUserObj = User();  // every login starts from a clean account record

    readModeOfUser(userName);
    for (ApplicationFile folder : {ApplicationFile::UserFolder, ApplicationFile::RootUserFolder})
        Directiry_Creation::createPrivateDirectoryHierarchyAtPath(loginFilePath(folder));
    SLD::setEncryptionDetails(loginDetails);
    setUserData(loginDetails, accountDetails);
    SLD::writeLoginDetails(loginDetails);

    mView.setLoginButtonTitle(userName);
    mLoginViewController.hideFloatingWindow();
    setEnableViews(true);
    mIsLoggedIn = true;
    chooseDestinationAtLogin();

    if (mIsFirstLoginOfRun)
        initiateConnections();
    mIsFirstLoginOfRun = false;
    emit accountDidChange();

    if (accountDetails.value(LoginViewController::kIsRuvo).toBool()) {
        const QString marker = loginFilePath(ApplicationFile::RuvoUserDetails);
        if (!QFileInfo::exists(marker))
            PropertyList::write(marker, QVariantMap{{QStringLiteral("isRuvoUser"), QStringLiteral("1")}});
    }
    isSyncActivated = false;
    validateIfSyncActivated();
    const bool firstLogin = mLoginViewController.isFirstTimeLogin();
    if (firstLogin)
        emit userLoggedInForFirstTime();
    emit remoteGuideCalledOnce(!firstLogin);
    mView.displayGuide(false);
    // In sync mode the index manager comes once the sync account is confirmed.
    replaceIndexWorker(mBackupMode);
    QFile::remove(userPath("DisconnectMarkerPath", userName));
    if (mBackupMode)
        mView.refreshSpaceUsed();
    // The sidebar's quota bar and the monitor's figures are those of the account now logged in.
    if (!quotaMeasured)
        calQuota();
}

void TXMainController::readModeOfUser(const QString &userName)
{
    const QString modeFile = userPath("BackupModePath", userName);
    const auto mode = TextFile::read(modeFile);
    if (mode) {
        // Only an explicit "0" is sync mode; an empty or damaged file keeps the backup mode.
        mBackupMode = mode->trimmed() != QLatin1String("0");
    } else {
        TextFile::write(modeFile, QStringLiteral("1"));
        mBackupMode = true;
    }
    mView.setBackupMode(mBackupMode);
    const QString syncDetails = userPath("SyncDetailsFilePath", userName);
    if (QFileInfo::exists(syncDetails))
        mUserObj.setMSyncUserName(
            PropertyList::readDictionary(syncDetails).value(SyncDetailsKeys::kSyncUserName).toString());
}

void TXMainController::setUserData(const QVariantMap &loginDetails, const QVariantMap &accountDetails)
{
    const auto value = [&loginDetails](const QString &key) { return loginDetails.value(key).toString(); };
    const QString tarnixUser = value(SLD::kTarnixUsername);
    mUserObj.setPort(QLUtility::portParam());
    mUserObj.setRuvoServerIP(value(SLD::kServerName));
    mUserObj.setServer1Name(value(tarnixUser));
    if (accountDetails.value(LoginViewController::kIsRuvo).toBool()) {
        mUserObj.setUserName(tarnixUser);
        mUserObj.setPassword(quellonExtension::decryptedString(value(SLD::kTarnixPassword)));
        mUserObj.setPrivateKey(loginDetails.contains(SLD::kPrivateKey)
                                   ? quellonExtension::decryptedString(value(SLD::kPrivateKey))
                                   : LoginViewController::kSetupKeyPlaceholder);
        mUserObj.setWebServerIP(value(SLD::kWebServerName));
        mUserObj.setRuvoUser(true);
        mUserObj.setISDefaultKey(accountDetails.value(LoginViewController::kEncType).toString() ==
                                 SLD::kDefaultEncryption);
        mUserObj.setMEncodedPassword(value(SLD::kEncodedPassword));
        mUserObj.setMEncodedKey(value(SLD::kEncodedKey));
        const QString computerFolder = mpcName();
        mUserObj.setMPCName(computerFolder.isEmpty() ? MachineFacts::computerName() : computerFolder);
    } else {
        mUserObj.setUserName(value(SLD::kQuellonUserName));
        mUserObj.setPassword(value(SLD::kPassword));
        mUserObj.setLoggedUserName(tarnixUser);
        mUserObj.setLoggedPassword(quellonExtension::decryptedString(value(SLD::kTarnixPassword)));
        mUserObj.setWebServerIP(value(SLD::kQuotaServerName));
        mUserObj.setRuvoUser(false);
        mUserObj.setISDefaultKey(true);
    }
    mUserObj.setIsBusinessUser(accountDetails.value(QStringLiteral("IsBusiness")).toBool());
    // A missing plan is an empty text, never a made-up word.
    TextFile::write(userPath("PlanFilePath", tarnixUser),
                    accountDetails.value(LoginViewController::kAccountPlan).toString());
}

void TXMainController::quotaCall(const QVariantMap &userDetails)
{
    TXSupportFileManager::txFileManager().setTarnixUserName(userDetails.value(SLD::kTarnixUsername).toString());
    setUserData(userDetails, mLoginViewController.loggedInAccountDetails());
    mCompletesLoginOnQuota = true;
    calQuota();
}

// --- Destination drive ---

void TXMainController::chooseDestinationAtLogin()
{
    const auto stored = TextFile::read(loginFilePath(ApplicationFile::DestinationDrivePath));
    QString volume = stored ? stored->trimmed() : QString();
    if (volume.isEmpty() || !QFileInfo(volume).isDir()) {
        volume = getInstallationVolume();
        const QString dataFolder = volume + QLatin1Char('/') + brandFolder();
        const bool accepted =
            !volume.isEmpty() && (QFileInfo(dataFolder).isDir() || QLUtility::isWritableFileAtPath(dataFolder) ||
                                  QLUtility::isWritableFileAtPath(volume));
        if (!accepted) {
            mDestinationDrive.clear();
            mView.showDestination(QString());
            return;
        }
        TextFile::write(loginFilePath(ApplicationFile::DestinationDrivePath), volume);
    }
    setDestination(volume);
}
