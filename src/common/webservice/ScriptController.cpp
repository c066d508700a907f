#include "common/webservice/ScriptController.h"

#include <QRegularExpression>

#include "platform/PathTemplate.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/texts/QLLocalizedString.h"
#include "common/categories/QuellonExtension.h"
#include "common/webservice/ScriptControllerDelegate.h"
#include "common/webservice/ScriptURLConnection.h"

namespace {

const QString kTarnixSyncAccountPath = QStringLiteral("/cgi-bin/get_tarnix_ruvo_details_xml_ip_sync.cgi?");
const QString kSyncDetailsPath = QStringLiteral("/cgi-bin/get_txsync_ruvo_details_xml_ip.cgi?");
const QString kDefaultKey = QStringLiteral("default");

}  // namespace

ScriptController::ScriptController(ScriptControllerTimings timings) : mTimings(timings)
{
    xmlParser.setDelegate(this);
}

ScriptController::~ScriptController() = default;

void ScriptController::GetTarnixsyncAccountUsernameAndPassword(const QString &user, const QString &password,
                                                               const QString &privateKey)
{
    const QString body =
        privateKey == kDefaultKey
            ? formText(QStringLiteral("username=%@&password=%@&enctype=default"), {user, password})
            : formText(QStringLiteral("username=%@&password=%@&enctype=private&pvtkey=%@"), {user, password, privateKey});
    setupConnectionForURL(serviceURL(kTarnixAccountWebSiteKey, kTarnixSyncAccountPath), body,
                          ScriptURLConnection::kXMLFormat);
}

void ScriptController::GetSyncDetailsForUsername(const QString &user, const QString &password)
{
    setupConnectionForURL(serviceURL(kSyncStorageWebHostKey, kSyncDetailsPath),
                          formText(QStringLiteral("username=%@&password=%@&enctype=default"), {user, password}),
                          ScriptURLConnection::kXMLFormat);
}

QString ScriptController::formText(const QString &pattern, const QStringList &values)
{
    QStringList escaped;
    for (const QString &value : values)
        escaped.append(quellonExtension::stringByAddingRFC3875PercentEscapesUsingEncodingForKey(value));
    return PathTemplate::fillTemplate(pattern, escaped);
}

QUrl ScriptController::serviceURL(const QString &hostKey, const QString &path)
{
    QString host = QLLocalizedString(hostKey);
    while (host.endsWith('/'))
        host.chop(1);
    return QUrl(host + path);
}

void ScriptController::setupConnectionForURL(const QUrl &url, const QString &httpBody, const QString &outputFormat)
{
    URLRequest request;
    request.url = url;
    request.method = "POST";
    request.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/x-www-form-urlencoded")));
    request.body = httpBody.toUtf8();
    request.timeout = mTimings.requestTimeout;
    request.totalTimeout = mTimings.totalTimeout;
    request.ignoreLocalCache = true;

    theConnection.reset(new ScriptURLConnection(request));
    theConnection->setDelegate(this);
    theConnection->setOutPutFormat(outputFormat);
    theConnection->startLoading();
}

void ScriptController::connectionFailedWithError(const RequestError &, ScriptURLConnection *)
{
    theConnection.reset();
    if (mDelegate)
        mDelegate->connectionError(kConnectionErrorText, this);
}

void ScriptController::ConnectionDidReceivedData(const QByteArray &data, ScriptURLConnection *connection)
{
    const bool json = connection->isOutPutInJSONFormat();
    theConnection.reset();
    if (json) {
        const auto value = parsedJSONArray(data);
        if (!value)
            reportParsingFailure(kUnexpectedResultText, data);
        else if (mDelegate)
            mDelegate->didScriptControllerFinishedSuccessfully(*value, this);
    } else if (QString::fromUtf8(data).contains(QLatin1String("<root>"), Qt::CaseInsensitive)) {
        readTokens(data);
    } else {
        xmlParser.parseXMLFile(data);
    }
}

void ScriptController::readTokens(const QByteArray &data)
{
    QString error;
    const auto tokens = parsedDataForUser(data, &error);
    if (!tokens)
        reportParsingFailure(error, data);
    else if (!tokens->contains(QStringLiteral("message")))
        reportParsingFailure(kNoMessageText, data);  // without an explicit answer the reply is no success
    else if (mDelegate)
        mDelegate->didScriptControllerFinishedSuccessfully(*tokens, this);
}

void ScriptController::parsedData(const QVariantMap &data)
{
    if (mDelegate)
        mDelegate->didScriptControllerFinishedSuccessfully(data, this);
}

void ScriptController::parseError(const QString &error, const QByteArray &data) { reportParsingFailure(error, data); }

// The trace goes out with error reports, so reply values that are secrets are masked.
QString ScriptController::withSecretsMasked(const QString &reply)
{
    // A secret's name: password, pwd, pvtkey or key, with anything around it.
    static const QString name = QStringLiteral(R"x([\w-]*(?:password|pwd|pvtkey|key)[\w-]*)x");
    constexpr auto caseless = QRegularExpression::CaseInsensitiveOption;
    static const QRegularExpression attribute(
        "(" + name + QStringLiteral(R"x(\s*=\s*)("[^"]*"|'[^']*'|[^\s/>]+))x"), caseless);
    static const QRegularExpression element(
        "(<(" + name + QStringLiteral(R"x()(?:\s[^>]*)?>)([^<]*)(</\2\s*>))x"), caseless);
    static const QRegularExpression json(
        "(\"(" + name + QStringLiteral(R"x()"\s*:\s*)("(?:[^"\\]|\\.)*"|[^\s,}\]]+))x"), caseless);
    QString masked = reply;
    masked.replace(element, QStringLiteral("\\1***\\4"));
    masked.replace(json, QStringLiteral("\\1\"***\""));
    masked.replace(attribute, QStringLiteral("\\1\"***\""));
    return masked;
}

void ScriptController::reportParsingFailure(const QString &reason, const QByteArray &data)
{
    // The trace keeps the start of a reply only: enough to see what came back.
    constexpr qsizetype kTracedCharacters = 4096;
    QString traced = withSecretsMasked(QString::fromUtf8(data));
    if (traced.size() > kTracedCharacters)
        traced = traced.left(kTracedCharacters) + QStringLiteral("... (%1 more characters)").arg(traced.size() - kTracedCharacters);
    QLBackupProgressLogger::progressLogger().logInteractiveTrace(
        PathTemplate::fillTemplate(QStringLiteral("Parsing failed. For Data : %@ , Reason : %@"), {traced, reason}), true);
    if (mDelegate)
        mDelegate->parsingFailedWithError(reason, this);
}
