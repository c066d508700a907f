#include "client/shell/login/LoginViewController.h"

#include "client/shell/login/AccountHosts.h"
#include "client/shell/login/KeyRules.h"
#include "client/shell/login/LoginView.h"
#include "client/shell/login/LoginViewControllerDelegateProtocol.h"
#include "common/categories/QuellonExtension.h"
#include "common/login/StoredLoginDetails.h"
#include "common/texts/Brand.h"
#include "common/utility/QLUtility.h"

namespace SLD = StoredLoginDetails;

namespace {

const QString kStorageServerAccount = QStringLiteral("QLSYNC");
const QString kOlderAccount = QStringLiteral("TARNIX");
const QString kNotSet = QStringLiteral("NOT SET");

QString replyValue(const QVariantMap &reply, const char *key) { return reply.value(QLatin1String(key)).toString(); }

QString scrambled(const QString &text) { return quellonExtension::encryptedString(text); }

QString html(const QString &text) { return text.toHtmlEscaped().replace('\n', QStringLiteral("<br/>")); }

QString link(const QUrl &url, const QString &text)
{
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(), html(text));
}

}  // namespace

LoginViewController::LoginViewController(LoginView &view, LoginViewControllerDelegateProtocol &delegate,
                                         LoginTimings timings, Encoder encoder)
    : mView(view)
    , mDelegate(delegate)
    , mTimings(timings)
    , mEncoder(std::move(encoder))
    , mValidator(timings.validator)
    , mAccountSettingsToken([&view](const QUrl &url) { view.openURL(url); }, timings.tokenRequest)
{
    if (!mEncoder) {
        const auto encodingTime = mTimings.encoding;
        mEncoder = [encodingTime](const QString &text, QString *error) {
            return QLUtility::encodeString(text, error, encodingTime);
        };
    }
    mValidator.setDelegate(this);
}

LoginViewController::~LoginViewController() = default;

// --- Automatic login and the form ---

void LoginViewController::autoLogin()
{
    const auto stored = SLD::lastUserDetails();
    if (stored && stored->value(SLD::kRememberDetails).toInt() != 0) {
        isAutoLoginValue = true;
        const QString userName = SLD::userNameOf(*stored);
        const QString password = SLD::passwordOf(*stored);
        mView.setUserNameAndPassword(userName, password);
        mView.setRememberMe(true);
        mDelegate.setLoginButtonTitle(QStringLiteral("Connecting %1").arg(userName));
        performLogin(userName, password);
        return;
    }
    isAutoLoginValue = false;
    mDelegate.setLoginButtonTitle(kLoginButtonTitle);
    if (!stored) {
        isFirstTimeLoginValue = true;
        mDelegate.willLoginForFirstTime();
    }
    mView.setUserNameAndPassword(QString(), QString());
    mView.displayFloatingWindow();
    mDelegate.displayGuide(true);
}

void LoginViewController::performLogin() { performLogin(mView.userName(), mView.password()); }

void LoginViewController::performLogin(const QString &userName, const QString &password)
{
    mDelegate.launchMonitor();
    mDelegate.setPvtKeyValidatedcalledOnce(false);
    mView.setErrorText(QString());
    mView.setPreferencesLinkVisible(false);
    const QString chosen = mView.chosenEmailAccount();
    mValidator.validateLogin(chosen.isEmpty() ? userName : chosen, password);
}

void LoginViewController::onEmailBoxClick(const QString &userName)
{
    mView.setUserNameAndPassword(userName, mView.password());
    mValidator.validateLogin(userName, mView.password());
}

void LoginViewController::rememberMe() { mDelegate.rememberMe(mView.rememberMe()); }

// --- Validator answers ---

void LoginViewController::userValidationDidStart() { mView.setLoginSpinning(true); }

void LoginViewController::loginFoundAssociatedAccounts(const QStringList &userNames, const QString &email)
{
    mView.setLoginSpinning(false);
    if (userNames.size() == 1 || isAutoLoginValue) {
        // With several accounts an automatic login tries the address itself rather than asking.
        mView.setUserNameAndPassword(userNames.size() == 1 ? userNames.first() : email, mView.password());
        mView.setUserFieldVisible(true);
        performLogin();
        return;
    }
    mView.setUserFieldVisible(false);
    mView.showEmailChoices(userNames);
    mView.setErrorText(html(kMultipleAccountsMessage));
    mView.displayFloatingWindow();
}

void LoginViewController::loginValidationSuccessful(const QVariantMap &reply)
{
    const QString userName = replyValue(reply, "Username");
    isFirstTimeLoginValue = !SLD::isUserExists(userName);
    if (isFirstTimeLoginValue)
        mDelegate.willLoginForFirstTime();
    // Every login starts from fresh details: nothing of an earlier login survives in them.
    mAccountDetails = accountDetailsFromReply(reply);
    mUserDetails = userDetailsFromReply(reply, mView.ssl(), mView.rememberMe());
    if (replyValue(reply, "acctype") == kStorageServerAccount) {
        if (!encodeInto(SLD::kEncodedPassword, replyValue(reply, "Password"),
                        [this](const QString &error) { failLogin(error); }))
            return;
        mView.setLoginSpinning(false);
        if (!prepareEncryption(reply))
            return;
    }
    finishLogin();
}

bool LoginViewController::prepareEncryption(const QVariantMap &reply)
{
    const QString userName = replyValue(reply, "Username");
    if (replyValue(reply, "cnfgstat") == kNotSet) {
        mView.showPage(LoginView::Page::EncryptionSetup);
        mDelegate.willNeedToConfigureAccountForUser(userName);
        mView.displayFloatingWindow();
        return false;
    }
    const QString encryption = replyValue(reply, "enctype");
    const auto showError = [this](const QString &error) { failLogin(error); };
    if (encryption == SLD::kDefaultEncryption) {
        if (!encodeInto(SLD::kEncodedKey, kDefaultKeyPlaceholder, showError))
            return false;
    } else if (encryption == SLD::kPrivateEncryption) {
        const auto key = SLD::storedPrivateKey(userName);
        if (!key) {
            mView.setAcceptanceError(QString());
            setEncryptionAcceptanceView();
            return false;
        }
        if (!encodeInto(SLD::kEncodedKey, quellonExtension::decryptedString(*key), showError))
            return false;
        mUserDetails.insert(SLD::kPrivateKey, *key);
    }
    SLD::writeEncType(encryption == SLD::kPrivateEncryption ? SLD::kPrivateEncryption : SLD::kDefaultEncryption,
                      userName);
    SLD::writeJspServer(replyValue(reply, "jspsrvr"));
    return true;
}

bool LoginViewController::encodeInto(const QString &key, const QString &text,
                                     const std::function<void(const QString &)> &showError)
{
    QString error;
    const auto encoded = mEncoder(text, &error);
    if (!encoded) {
        // A blank in place of the encoding would make every later engine run fail.
        showError(kEncodingFailedMessage.arg(error));
        return false;
    }
    mUserDetails.insert(key, *encoded);
    return true;
}

void LoginViewController::finishLogin()
{
    mView.setErrorText(QString());
    mDelegate.loginSuccessfulWithDetails(mUserDetails, mAccountDetails);
}

void LoginViewController::loginValidationFailedWithError(const QString &message) { failLogin(message); }

void LoginViewController::failLogin(const QString &message)
{
    mValidator.setIsMapped(false);
    isAutoLoginValue = false;
    mView.setLoginSpinning(false);
    mView.showPage(LoginView::Page::LoginForm);
    const QString userName = mView.userName().isEmpty() ? mView.chosenEmailAccount() : mView.userName();
    mView.setErrorText(failureText(message, userName));
    mView.setPreferencesLinkVisible(message.contains(QLatin1String("preferences"), Qt::CaseInsensitive));
    mDelegate.loginFailed();
    mView.displayFloatingWindow();
}

QString LoginViewController::failureText(const QString &message, const QString &userName)
{
    if (message == LoginValidator::emptyUserNameMessage()) {
        const QUrl site = AccountHosts::brandWebSite();
        return html(Brand::pick(
                   QStringLiteral("Enter your Tarnix username/email address. If you do not have an account, visit "),
                   QStringLiteral(
                       "Enter your Quellon username/email address. If you do not have an account, visit "))) +
               link(site, site.host()) + html(QStringLiteral(" to subscribe."));
    }
    if (message == LoginValidator::kOldAccountMarker) {
        if (!Brand::isTarnix())
            return html(QStringLiteral("This application supports only accounts created after 08-10-2011."));
        return html(QStringLiteral("This account has been created prior to 11-23-2011. ")) +
               link(AccountHosts::page(AccountHosts::brandWebSite(),
                                       QStringLiteral("/portable/downloads/TarnixPortableforMac.zip")),
                    QStringLiteral("Click here")) +
               html(QStringLiteral(" to download the compatible version of the application"));
    }
    if (message.contains(QLatin1String("Reason: Account has been canceled")) ||
        message.contains(QLatin1String("Reason: Account has expired"))) {
        const QString query = QStringLiteral("user=") +
                              quellonExtension::stringByAddingRFC3875PercentEscapesUsingEncodingForKey(userName);
        return html(message) + link(AccountHosts::page(AccountHosts::tarnixWebSite(),
                                                       QStringLiteral("/tarnix/static/reactivationRequest"), query),
                                    QStringLiteral("Contact support to re-activate your account."));
    }
    return html(message);
}

// --- Details built from the reply ---

QVariantMap LoginViewController::accountDetailsFromReply(const QVariantMap &reply)
{
    const bool storageServer = replyValue(reply, "acctype") == kStorageServerAccount;
    QVariantMap details{{kIsRuvo, storageServer}, {kAccountStatus, replyValue(reply, "accstat")}};
    if (storageServer)
        details.insert(kEncType, replyValue(reply, "enctype"));
    if (Brand::isTarnix())
        details.insert(kAccountPlan, replyValue(reply, "plan"));
    return details;
}

QVariantMap LoginViewController::userDetailsFromReply(const QVariantMap &reply, bool ssl, bool remember)
{
    QVariantMap details;
    // Entries from an address to a host name; a key that is present in the reply only.
    const auto addHostEntry = [&details](const QString &key, const QString &value) {
        if (!key.isEmpty() && !value.isEmpty())
            details.insert(key, value);
    };
    const bool storageServer = replyValue(reply, "acctype") == kStorageServerAccount;
    const QString userName = replyValue(reply, "Username");
    const QString password = replyValue(reply, "Password");
    if (storageServer) {
        addHostEntry(userName, replyValue(reply, "ruvosrvrip"));
        addHostEntry(replyValue(reply, "ruvowebsrvrip"), replyValue(reply, "ruvowebsrvr"));
        addHostEntry(replyValue(reply, "ruvosrvrip"), replyValue(reply, "ruvosrvr"));
        details.insert(SLD::kUsername, userName);
        details.insert(SLD::kQuellonUserName, userName);
        details.insert(SLD::kJspServer, replyValue(reply, "jspsrvr"));
        details.insert(SLD::kPassword, scrambled(password));
        details.insert(SLD::kServerName, replyValue(reply, "ruvosrvrip"));
        details.insert(SLD::kWebServerName, replyValue(reply, "ruvowebsrvrip"));
        details.insert(SLD::kQuotaServerName, replyValue(reply, "ruvowebsrvrip"));
    } else {
        const QString mappedUser = replyValue(reply, "mappeduser");
        addHostEntry(mappedUser, replyValue(reply, "server1"));
        addHostEntry(replyValue(reply, "server1"), replyValue(reply, "server2"));
        addHostEntry(replyValue(reply, "server2"), replyValue(reply, "server5"));
        details.insert(SLD::kUsername, mappedUser);
        details.insert(SLD::kQuellonUserName, mappedUser);
        details.insert(SLD::kPassword, scrambled(replyValue(reply, "mappedpassword")));
        details.insert(SLD::kServerName, replyValue(reply, "server2"));
        details.insert(SLD::kQuotaServerName, replyValue(reply, "server5"));
    }
    details.insert(SLD::kTarnixUsername, userName);
    details.insert(SLD::kTarnixPassword, scrambled(password));
    if (reply.contains(QStringLiteral("EmailId")))
        details.insert(SLD::kEmailID, replyValue(reply, "EmailId"));
    details.insert(SLD::kIsEmailID,
                   reply.contains(QStringLiteral("EmailId")) ? QStringLiteral("YES") : QStringLiteral("NO"));
    details.insert(SLD::kSSL, ssl ? 1 : 0);
    details.insert(SLD::kRememberDetails, remember ? 1 : 0);
    details.insert(SLD::kTarnixQuota, replyValue(reply, "quota"));
    details.insert(SLD::kUserAtServer, currentQuellonUserAtServer(details, storageServer));
    return details;
}

QString LoginViewController::currentQuellonUserAtServer(const QVariantMap &userDetails, bool storageServerAccount)
{
    const QString user = userDetails.value(SLD::kQuellonUserName).toString();
    if (userDetails.value(SLD::kSSL).toInt() != 0 && !storageServerAccount)
        return QStringLiteral("%1@localhost::quellon").arg(user);
    return QStringLiteral("%1@%2::quellon").arg(user, userDetails.value(SLD::kServerName).toString());
}

// --- Encryption set-up and private-key pages ---

void LoginViewController::configureAccount()
{
    const bool privateKey = mView.setupKeyType() == LoginView::KeyType::Private;
    const QString key = mView.setupKey();
    mView.setSetupError(QString());
    if (privateKey) {
        const QString error = KeyRules::setupKeyError(key, mView.setupKeyConfirmation());
        if (!error.isEmpty()) {
            mView.setSetupError(error);
            return;
        }
    }
    // A key typed before switching to "Default" is not the account's key.
    const QString storedKey = privateKey ? key : kSetupKeyPlaceholder;
    if (!encodeInto(SLD::kEncodedKey, storedKey, [this](const QString &error) { mView.setSetupError(error); }))
        return;
    mUserDetails.insert(SLD::kPrivateKey, scrambled(storedKey));
    mAccountDetails.insert(kEncType, privateKey ? SLD::kPrivateEncryption : SLD::kDefaultEncryption);
    mView.setSetupSpinning(true);
    const QString webServer = mUserDetails.value(mUserDetails.value(SLD::kWebServerName).toString()).toString();
    mValidator.configureAccountOnServer(webServer, privateKey ? QStringLiteral("Private") : QStringLiteral("Default"),
                                        privateKey ? key : QString());
}

void LoginViewController::accountConfigurationSuccessful(const QString &userName)
{
    mView.setSetupSpinning(false);
    SLD::writeEncType(mAccountDetails.value(kEncType).toString(), userName);
    SLD::writeJspServer(mUserDetails.value(SLD::kJspServer).toString());
    mView.showPage(LoginView::Page::LoginForm);
    finishLogin();
}

void LoginViewController::accountConfigurationDidFailWithError(const QString &message, const QString &)
{
    mView.setLoginSpinning(false);
    mView.setSetupSpinning(false);
    if (!message.isEmpty())
        mView.setSetupError(message);
}

void LoginViewController::closeSetupPage()
{
    mView.showPage(LoginView::Page::LoginForm);
    mDelegate.configureAccountFailed(QStringLiteral("WindowClosed"), mUserDetails.value(SLD::kUsername).toString());
    mView.displayFloatingWindow();
}

void LoginViewController::setEncryptionAcceptanceView()
{
    mView.setErrorText(QString());
    mView.clearAcceptanceKey();
    mView.showPage(LoginView::Page::PrivateKey);
    mView.displayFloatingWindow();
}

void LoginViewController::hideFloatingWindow() { mView.hideFloatingWindow(); }

void LoginViewController::privatekeyAcceptanceValidation()
{
    const QString key = mView.acceptanceKey();
    const QString error = KeyRules::acceptanceKeyError(key);
    if (!error.isEmpty()) {
        mView.setAcceptanceError(error);
        return;
    }
    if (!encodeInto(SLD::kEncodedKey, key, [this](const QString &text) { mView.setAcceptanceError(text); }))
        return;
    mUserDetails.insert(SLD::kPrivateKey, scrambled(key));
    SLD::writeEncType(SLD::kPrivateEncryption, mUserDetails.value(SLD::kTarnixUsername).toString());
    mView.setAcceptanceError(QString());
    mView.showPage(LoginView::Page::LoginForm);
    mView.hideFloatingWindow();
    mDelegate.quotaCall(mUserDetails);
}

// --- Account menu ---

void LoginViewController::fillFormFromStoredDetails()
{
    const auto stored = SLD::lastUserDetails();
    const bool remember = stored && stored->value(SLD::kRememberDetails).toInt() != 0;
    mView.setUserNameAndPassword(remember ? SLD::userNameOf(*stored) : QString(),
                                 remember ? SLD::passwordOf(*stored) : QString());
    mView.setRememberMe(remember);
}

void LoginViewController::DisconnectAccount()
{
    mValidator.setIsMapped(false);
    isAutoLoginValue = false;
    mDelegate.setLoginButtonTitle(kLoginButtonTitle);
    isDisconnectedValue = true;
    mView.closeDisconnectWindow();
    mView.showPage(LoginView::Page::LoginForm);
    mView.showEmailChoices({});
    mView.setUserFieldVisible(true);
    mView.setErrorText(QString());
    fillFormFromStoredDetails();
    mView.displayFloatingWindow();
    mDelegate.didDisconnect();
}

void LoginViewController::showAccountSettings()
{
    const auto stored = SLD::lastUserDetails();
    if (stored)
        mAccountSettingsToken.request(SLD::userNameOf(*stored), SLD::passwordOf(*stored), QStringLiteral("account"));
    mView.closeDisconnectWindow();
}

void LoginViewController::DisplayHelp()
{
    mView.openURL(AccountHosts::page(AccountHosts::brandWebSite(),
                                     Brand::pick(QStringLiteral("/videzud/help/mac/default.htm"),
                                                 QStringLiteral("/help-center/videzud-mac/default.htm"))));
    mView.closeDisconnectWindow();
}

void LoginViewController::forgotPasswordHandling()
{
    mView.openURL(AccountHosts::page(
        AccountHosts::brandWebSite(),
        Brand::pick(QStringLiteral("/tarnix/forgotPassword/redirectPassword"), QStringLiteral("/forgotpass_new.htm"))));
}

void LoginViewController::signupForm()
{
    mView.openURL(AccountHosts::page(AccountHosts::brandWebSite(),
                                     Brand::pick(QStringLiteral("/tarnix/signup"), QStringLiteral("/quellon/signup"))));
    mView.closeDisconnectWindow();
}
