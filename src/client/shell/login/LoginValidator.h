#pragma once

#include "common/webservice/ScriptURLConnection.h"
#include "common/webservice/ScriptURLConnectionDelegate.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <chrono>

class LoginValidatorDelegateProtocol;

// How long the account requests may go without any transfer.
struct LoginValidatorTimings
{
    std::chrono::milliseconds emailLookup{20000};
    std::chrono::milliseconds accountDetails{60000};
    std::chrono::milliseconds configuration{300000};
};

// Checks typed credentials: the local rules, the e-mail lookup, the account
// details from the account web service and the verdict on them; and sets up
// the encryption of a new account. Every request is asynchronous, sends the
// credentials in a POST body over a verified connection, and ends in exactly
// one delegate callback.
class LoginValidator : public ScriptURLConnectionDelegate
{
public:
    // Messages of the validation, in the words the login form shows.
    static QString emptyUserNameMessage();
    static inline const QString kEmptyPasswordMessage = QStringLiteral("Password cannot be empty");
    static inline const QString kInvalidUserNameMessage = QStringLiteral("Please enter a valid username");
    static inline const QString kOldAccountMarker = QStringLiteral("oldAccountErrorMsg");
    static inline const QString kInvalidCredentialsMessage = QStringLiteral("Invalid username or password");
    static inline const QString kGeneralFailureMessage = QStringLiteral(
        "Unable to connect to server as the username/email address or password is incorrect.\n\nLogin may also fail "
        "if the application has not been granted the necessary firewall privileges. If you are behind a proxy "
        "server, ensure that you have set the relevant proxy server setting parameters under Preferences.");
    static inline const QString kEmailNotFoundMessage = QStringLiteral(
        "Unable to connect to Tarnix, make sure that you have an Tarnix account with the email address you have "
        "entered. \nAlso, ensure that the same email address that you had used while you had registered/created "
        "your account with Tarnix is entered.");
    static inline const QString kEmailAccountCanceledMessage =
        QStringLiteral("Unable to connect to Quellon. Reason: Account has been canceled. ");
    static inline const QString kConfigurationFailedMessage =
        QStringLiteral("Encryption could not be configured. Try again.");
    static inline const QString kConfiguredReply = QStringLiteral("YOUR ACCOUNT IS CONFIGURED SUCCESSFULLY");

    // One request and up to three repetitions when the account details do not come.
    static constexpr int kAccountDetailsAttempts = 4;

    // The verdict on an account-details reply.
    struct Verdict
    {
        enum class Kind
        {
            NoAnswer,
            Failure,
            Success
        } kind = Kind::NoAnswer;
        QString message;    // Failure
        QVariantMap reply;  // Success: the first attribute dictionary
    };
    static Verdict judgeAccountDetails(const QByteArray &reply, const QString &userName);

    // The verdict on an e-mail lookup reply: the active names, or the message.
    struct LookupResult
    {
        QStringList activeUserNames;
        QString failure;
    };
    static LookupResult judgeEmailLookup(const QString &reply);

    explicit LoginValidator(LoginValidatorTimings timings = {});
    ~LoginValidator() override;

    void setDelegate(LoginValidatorDelegateProtocol *delegate) { mDelegate = delegate; }
    bool isMapped() const { return mIsMapped; }
    void setIsMapped(bool mapped) { mIsMapped = mapped; }

    // Local checks, then the e-mail lookup or the account details.
    void validateLogin(const QString &userName, const QString &password);
    void validateUser();
    void mapEmailToUsername();
    void getQuellonDetailsForUser();
    // accountType "Default" or "Private"; the key is used for "Private" only.
    void configureAccountOnServer(const QString &server, const QString &accountType, const QString &key);

    void ConnectionDidReceivedData(const QByteArray &data, ScriptURLConnection *connection) override;
    void connectionFailedWithError(const RequestError &error, ScriptURLConnection *connection) override;

private:
    ScriptURLConnectionPtr startPost(const QUrl &url, const QString &body, std::chrono::milliseconds timeout);
    void parseValidationOutput(const QByteArray &data);
    void parseEmailLookupOutput(const QByteArray &data);
    void parseConfigurationOutput(const QByteArray &data);
    // Another attempt at the account details, or the general failure once all are used.
    void retryAccountDetails();

    LoginValidatorTimings mTimings;
    LoginValidatorDelegateProtocol *mDelegate = nullptr;
    int mLoginRetryCount = 0;
    QString mUserName;
    QString mPassword;
    bool mIsMapped = false;
    ScriptURLConnectionPtr mValidatorConnectionObj;
    ScriptURLConnectionPtr mEmailConnectionObj;
    ScriptURLConnectionPtr mConfigureConnectionObj;
};
