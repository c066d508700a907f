#include "client/shell/login/LoginValidator.h"

#include "client/shell/login/AccountHosts.h"
#include "client/shell/login/LoginValidatorDelegateProtocol.h"
#include "client/shell/login/QLXMLParserController.h"
#include "common/categories/QuellonExtension.h"
#include "common/login/StoredLoginDetails.h"
#include "common/texts/Brand.h"
#include "common/utility/QLUtility.h"
#include "common/webservice/ScriptController.h"
#include "common/webservice/URLRequest.h"

namespace {

const QString kAccountDetailsPath = QStringLiteral("/cgi-bin/get_tarnix_ruvo_details_xml_ip.cgi");
const QString kSecondBrandAccountDetailsPath = QStringLiteral("/cgi-bin/get_qlwin_ruvo_details_xml_ip.cgi");
const QString kEmailLookupPath = QStringLiteral("/cgi-bin/tarnixe_get_email_qlsync_user_v1.cgi");
const QString kConfigurePath = QStringLiteral("/ruvo/configureAccount");

QString brandText(const QString &tarnix, const QString &quellon) { return Brand::pick(tarnix, quellon); }

// The refusal of an account by its status, "" for an active one.
QString accountStatusMessage(const QString &status)
{
    if (status == QLatin1String("C"))
        return brandText(QStringLiteral("Unable to connect to Tarnix. Reason: Account has been canceled. "),
                         QStringLiteral("Unable to connect to Quellon. Reason: Account has been canceled. "));
    if (status == QLatin1String("E"))
        return brandText(QStringLiteral("Unable to connect to Tarnix.\nReason: Account has expired. "),
                         QStringLiteral("Unable to connect to Quellon.\nReason: Account has expired. "));
    if (status == QLatin1String("M"))
        return brandText(
            QStringLiteral("Unable to connect to Tarnix. Reason: Your account is under maintenance. Try later."),
            QStringLiteral("Unable to connect to Quellon. Reason: Your account is under maintenance. Try later."));
    return {};
}

QString refusalMessage(const QString &description, const QString &userName)
{
    if (description == QLatin1String("windows_user"))
        return QStringLiteral("Login failed. Error: '%1' account has been created prior to 11-23-2011. In order to "
                              "have inter-operable account between Windows and Mac, sign up for a new Tarnix account.")
            .arg(userName);
    if (description == QLatin1String("passwords do not match"))
        return LoginValidator::kInvalidCredentialsMessage;
    return LoginValidator::kGeneralFailureMessage;
}

}  // namespace

QString LoginValidator::emptyUserNameMessage()
{
    return QStringLiteral("Enter your Tarnix username/email address. If you do not have an account, visit ") +
           AccountHosts::tarnixWebSite().host() + QStringLiteral(" to subscribe.");
}

LoginValidator::LoginValidator(LoginValidatorTimings timings)
    : mTimings(timings)
{}

LoginValidator::~LoginValidator() = default;

void LoginValidator::validateLogin(const QString &userName, const QString &password)
{
    QString failure;
    if (userName.trimmed().isEmpty())
        failure = emptyUserNameMessage();
    else if (password.isEmpty())
        failure = kEmptyPasswordMessage;
    else if (userName.contains(QLatin1String("@@")) || userName == QLatin1String("@"))
        failure = kInvalidUserNameMessage;
    if (!failure.isEmpty()) {
        if (mDelegate)
            mDelegate->loginValidationFailedWithError(failure);
        return;
    }
    mUserName = userName;
    mPassword = password;
    validateUser();
}

void LoginValidator::validateUser()
{
    if (mDelegate)
        mDelegate->userValidationDidStart();
    mLoginRetryCount = 0;
    if (QLUtility::isEmailID(mUserName) && !mIsMapped)
        mapEmailToUsername();
    else
        getQuellonDetailsForUser();
}

void LoginValidator::mapEmailToUsername()
{
    // The address is no secret, so it may travel in the query, as the service expects.
    QUrl url = ScriptController::serviceURL(ScriptController::kTarnixAccountWebSiteKey, kEmailLookupPath);
    url.setQuery(QStringLiteral("email=") +
                 quellonExtension::stringByAddingRFC3875PercentEscapesUsingEncodingForKey(mUserName));
    URLRequest request;
    request.url = url;
    request.timeout = mTimings.emailLookup;
    request.ignoreLocalCache = true;
    mEmailConnectionObj.reset(new ScriptURLConnection(request));
    mEmailConnectionObj->setDelegate(this);
    mEmailConnectionObj->startLoading();
}

void LoginValidator::getQuellonDetailsForUser()
{
    const QUrl url =
        Brand::isTarnix()
            ? ScriptController::serviceURL(ScriptController::kTarnixAccountWebSiteKey, kAccountDetailsPath)
            : ScriptController::serviceURL(AccountHosts::kSecondBrandScriptHostKey, kSecondBrandAccountDetailsPath);
    // The credentials go in the body, never in the address, which proxies and servers log.
    mValidatorConnectionObj =
        startPost(url, ScriptController::formText(QStringLiteral("username=%@&password=%@"), {mUserName, mPassword}),
                  mTimings.accountDetails);
}

void LoginValidator::configureAccountOnServer(const QString &server, const QString &accountType, const QString &key)
{
    const QString body =
        accountType == QLatin1String("Default")
            ? ScriptController::formText(QStringLiteral("uid=%@&pwd=%@&enctype=default"), {mUserName, mPassword})
            : ScriptController::formText(QStringLiteral("uid=%@&pwd=%@&enctype=private&pvtkey=%@"),
                                         {mUserName, mPassword, key});
    mConfigureConnectionObj =
        startPost(QUrl(QStringLiteral("https://") + server + kConfigurePath), body, mTimings.configuration);
}

ScriptURLConnectionPtr LoginValidator::startPost(const QUrl &url, const QString &body,
                                                 std::chrono::milliseconds timeout)
{
    URLRequest request;
    request.url = url;
    request.method = "POST";
    request.headers = {{URLRequest::kUserAgentHeader, "Tarnix"},
                       {URLRequest::kContentTypeHeader, "application/x-www-form-urlencoded; charset=utf-8"}};
    request.body = body.toUtf8();
    request.timeout = timeout;
    ScriptURLConnectionPtr connection(new ScriptURLConnection(request));
    connection->setDelegate(this);
    connection->startLoading();
    return connection;
}

void LoginValidator::ConnectionDidReceivedData(const QByteArray &data, ScriptURLConnection *connection)
{
    if (connection == mValidatorConnectionObj.get())
        parseValidationOutput(data);
    else if (connection == mEmailConnectionObj.get())
        parseEmailLookupOutput(data);
    else if (connection == mConfigureConnectionObj.get())
        parseConfigurationOutput(data);
}

void LoginValidator::connectionFailedWithError(const RequestError &, ScriptURLConnection *connection)
{
    if (connection == mValidatorConnectionObj.get()) {
        retryAccountDetails();
    } else if (connection == mEmailConnectionObj.get()) {
        mEmailConnectionObj.reset();
        if (mDelegate)
            mDelegate->loginValidationFailedWithError(kGeneralFailureMessage);
    } else if (connection == mConfigureConnectionObj.get()) {
        mConfigureConnectionObj.reset();
        if (mDelegate)
            mDelegate->accountConfigurationDidFailWithError(kConfigurationFailedMessage, mUserName);
    }
}

void LoginValidator::retryAccountDetails()
{
    if (++mLoginRetryCount < kAccountDetailsAttempts) {
        getQuellonDetailsForUser();
        return;
    }
    mValidatorConnectionObj.reset();
    if (mDelegate)
        mDelegate->loginValidationFailedWithError(kGeneralFailureMessage);
}

LoginValidator::Verdict LoginValidator::judgeAccountDetails(const QByteArray &reply, const QString &userName)
{
    QLXMLParserController parser(reply);
    parser.parseXML();
    if (parser.iTemArray().isEmpty())
        return {};
    const QVariantMap details = parser.iTemArray().first();
    const auto failure = [](const QString &message) { return Verdict{Verdict::Kind::Failure, message, {}}; };
    const QString type = details.value(QStringLiteral("acctype")).toString();
    if ((type == QLatin1String("TARNIX") && details.value(QStringLiteral("mappeduser")).toString().size() > 1) ||
        type == QLatin1String("QLWIN"))
        return failure(kOldAccountMarker);
    if (details.value(QStringLiteral("message")).toString() == QLatin1String("FAILURE"))
        return failure(refusalMessage(details.value(QStringLiteral("desc")).toString(), userName));
    const QString statusMessage = accountStatusMessage(details.value(QStringLiteral("accstat")).toString());
    if (!statusMessage.isEmpty())
        return failure(statusMessage);
    // An account of a kind this client does not know must not leave the login hanging.
    if (type != QLatin1String("QLSYNC") && type != QLatin1String("TARNIX"))
        return failure(kGeneralFailureMessage);
    return {Verdict::Kind::Success, {}, details};
}

void LoginValidator::parseValidationOutput(const QByteArray &data)
{
    Verdict verdict = judgeAccountDetails(data, mUserName);
    if (verdict.kind == Verdict::Kind::NoAnswer) {
        retryAccountDetails();
        return;
    }
    mLoginRetryCount = kAccountDetailsAttempts;
    mValidatorConnectionObj.reset();
    if (!mDelegate)
        return;
    if (verdict.kind == Verdict::Kind::Failure) {
        mDelegate->loginValidationFailedWithError(verdict.message);
        return;
    }
    verdict.reply.insert(StoredLoginDetails::kUsername, mUserName);
    verdict.reply.insert(StoredLoginDetails::kPassword, mPassword);
    mDelegate->loginValidationSuccessful(verdict.reply);
}

LoginValidator::LookupResult LoginValidator::judgeEmailLookup(const QString &reply)
{
    QString text = reply;
    while (text.startsWith('\n'))
        text.remove(0, 1);
    while (text.endsWith('\n'))
        text.chop(1);
    const QString lowered = text.toLower();
    if (text == QLatin1String("Not found") || lowered == QLatin1String("an unknown error occured.") ||
        text == QLatin1String("Error: Not found"))
        return {{}, kEmailNotFoundMessage};
    QStringList active;
    QStringList canceled;
    for (const QString &token : text.split(' ')) {
        if (token == QLatin1String("Success:"))
            continue;
        const QStringList parts = token.split(':');
        if (parts.size() < 2)
            continue;
        if (parts.at(1) == QLatin1String("Active"))
            active.append(parts.at(0));
        else if (parts.at(1) == QLatin1String("Cancel"))
            canceled.append(parts.at(0));
    }
    if (!active.isEmpty())
        return {active, {}};
    return {{}, canceled.isEmpty() ? kGeneralFailureMessage : kEmailAccountCanceledMessage};
}

void LoginValidator::parseEmailLookupOutput(const QByteArray &data)
{
    mEmailConnectionObj.reset();
    const LookupResult result = judgeEmailLookup(QString::fromUtf8(data));
    if (!result.activeUserNames.isEmpty())
        mIsMapped = true;
    if (!mDelegate)
        return;
    if (result.activeUserNames.isEmpty())
        mDelegate->loginValidationFailedWithError(result.failure);
    else
        mDelegate->loginFoundAssociatedAccounts(result.activeUserNames, mUserName);
}

void LoginValidator::parseConfigurationOutput(const QByteArray &data)
{
    mConfigureConnectionObj.reset();
    if (!mDelegate)
        return;
    // Any reply but the success text is a failure: the set-up page must not wait for ever.
    if (QString::fromUtf8(data).contains(kConfiguredReply))
        mDelegate->accountConfigurationSuccessful(mUserName);
    else
        mDelegate->accountConfigurationDidFailWithError(kConfigurationFailedMessage, mUserName);
}
