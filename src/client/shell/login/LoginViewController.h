#pragma once

#include "client/shell/login/LoginValidator.h"
#include "client/shell/login/LoginValidatorDelegateProtocol.h"
#include "common/webservice/WebPageToken.h"

#include <QString>
#include <QVariantMap>

#include <chrono>
#include <functional>
#include <optional>

class LoginView;
class LoginViewControllerDelegateProtocol;

// How long the login waits for the account service and the engine's encoding.
struct LoginTimings
{
    LoginValidatorTimings validator;
    std::chrono::milliseconds encoding{30000};
    std::chrono::milliseconds tokenRequest = WebPageToken::kRequestTimeout;
};

// The login flow between start-up and a logged-in account: automatic login
// from the stored details, the login form, the e-mail account choice, the
// user and account details built from the account service's reply, the
// encryption set-up and private-key pages, the engine encoding of the
// password and key, and the account menu (disconnect, account settings,
// help). Its windows are a LoginView; it reports to the main controller.
class LoginViewController : public LoginValidatorDelegateProtocol
{
public:
    // The engine encodes a text or says why it cannot (the engine's string encoding).
    using Encoder = std::function<std::optional<QString>(const QString &text, QString *error)>;

    // The key that stands for the private key of every default-key account (engine encoding).
    static inline const QString kDefaultKeyPlaceholder = QStringLiteral("DefKey");
    // The key stored for an account set up with the default key.
    static inline const QString kSetupKeyPlaceholder = QStringLiteral("defkey");
    static inline const QString kLoginButtonTitle = QStringLiteral("Login to your account ");
    static inline const QString kMultipleAccountsMessage = QStringLiteral(
        "There are multiple accounts associated with this email address. To login, select the specific username "
        "associated with this email address.");
    static inline const QString kEncodingFailedMessage = QStringLiteral(
        "Unable to prepare your credentials for the storage engine (%1). Make sure the application is completely "
        "installed, then try again.");

    // Account-details keys (handed to the main controller beside the user details).
    static inline const QString kIsRuvo = QStringLiteral("IsRuvo");
    static inline const QString kAccountStatus = QStringLiteral("AccountStatus");
    static inline const QString kEncType = QStringLiteral("EncType");
    static inline const QString kAccountPlan = QStringLiteral("AccountPlan");

    LoginViewController(LoginView &view, LoginViewControllerDelegateProtocol &delegate, LoginTimings timings = {},
                        Encoder encoder = {});
    ~LoginViewController() override;

    // --- The flow ---
    void autoLogin();
    // With the form's values, or with the given user and password.
    void performLogin();
    void performLogin(const QString &userName, const QString &password);
    void onEmailBoxClick(const QString &userName);
    // The set-up page's configure button.
    void configureAccount();
    // The private-key page's accept button.
    void privatekeyAcceptanceValidation();
    // The close button of the set-up or private-key page: back to the form.
    void closeSetupPage();
    void setEncryptionAcceptanceView();
    void hideFloatingWindow();
    void rememberMe();

    // --- Account menu ---
    void DisconnectAccount();
    void showAccountSettings();
    void DisplayHelp();
    void forgotPasswordHandling();
    void signupForm();

    const QVariantMap &loggedInUserDetails() const { return mUserDetails; }
    const QVariantMap &loggedInAccountDetails() const { return mAccountDetails; }
    bool isFirstTimeLogin() const { return isFirstTimeLoginValue; }
    bool isDisconnected() const { return isDisconnectedValue; }
    void setIsDisconnected(bool disconnected) { isDisconnectedValue = disconnected; }
    bool isAutoLogin() const { return isAutoLoginValue; }

    // The rich text (HTML) a failure message is shown as, with its links.
    static QString failureText(const QString &message, const QString &userName);
    // "user@server::quellon" of the details; the tunnel end for an SSL login of an older account kind.
    static QString currentQuellonUserAtServer(const QVariantMap &userDetails, bool storageServerAccount);
    // The user and account details of a validated reply, before any engine encoding.
    static QVariantMap userDetailsFromReply(const QVariantMap &reply, bool ssl, bool remember);
    static QVariantMap accountDetailsFromReply(const QVariantMap &reply);

    // LoginValidatorDelegateProtocol
    void userValidationDidStart() override;
    void loginValidationSuccessful(const QVariantMap &reply) override;
    void loginValidationFailedWithError(const QString &message) override;
    void loginFoundAssociatedAccounts(const QStringList &userNames, const QString &email) override;
    void accountConfigurationSuccessful(const QString &userName) override;
    void accountConfigurationDidFailWithError(const QString &message, const QString &userName) override;

private:
    // The encryption step of a storage-server login; false when the login stops here
    // (set-up page, private-key page, or a failure already reported).
    bool prepareEncryption(const QVariantMap &reply);
    // The engine encoding of a text into the user details; false, with the failure
    // shown, when the engine cannot encode it.
    bool encodeInto(const QString &key, const QString &text, const std::function<void(const QString &)> &showError);
    void failLogin(const QString &message);
    void finishLogin();
    void fillFormFromStoredDetails();

    LoginView &mView;
    LoginViewControllerDelegateProtocol &mDelegate;
    LoginTimings mTimings;
    Encoder mEncoder;
    LoginValidator mValidator;
    WebPageToken mAccountSettingsToken;
    QVariantMap mUserDetails;
    QVariantMap mAccountDetails;
    bool isFirstTimeLoginValue = false;
    bool isDisconnectedValue = false;
    bool isAutoLoginValue = false;
};
