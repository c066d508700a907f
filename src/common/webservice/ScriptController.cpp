#include "common/webservice/ScriptController.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include "common/categories/QuellonExtension.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/texts/QLLocalizedString.h"
#include "common/webservice/ScriptControllerDelegate.h"
#include "common/webservice/ScriptURLConnection.h"
#include "platform/PathTemplate.h"

namespace {

const QString kTarnixSyncAccountPath = QStringLiteral("/cgi-bin/get_tarnix_ruvo_details_xml_ip_sync.cgi?");
const QString kSyncDetailsPath = QStringLiteral("/cgi-bin/get_txsync_ruvo_details_xml_ip.cgi?");
const QString kDefaultKey = QStringLiteral("default");

}  // namespace

ScriptController::ScriptController(ScriptControllerTimings timings)
    : mTimings(timings)
{
    xmlParser.setDelegate(this);
}

ScriptController::~ScriptController() = default;

void ScriptController::GetTarnixsyncAccountUsernameAndPassword(const QString &user, const QString &password,
                                                               const QString &privateKey)
{
    const QString body = privateKey == kDefaultKey
                             ? formText(QStringLiteral("username=%@&password=%@&enctype=default"), {user, password})
                             : formText(QStringLiteral("username=%@&password=%@&enctype=private&pvtkey=%@"),
                                        {user, password, privateKey});
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
    request.headers.append(
        qMakePair(QByteArray(URLRequest::kContentTypeHeader), QByteArray("application/x-www-form-urlencoded")));
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

namespace {

// A secret's name: password, pwd, pvtkey or key, with anything around it.
const QString kSecretName = QStringLiteral(R"x([\w-]*(?:password|pwd|pvtkey|key)[\w-]*)x");

bool isSecretName(const QString &name)
{
    static const QRegularExpression whole(QRegularExpression::anchoredPattern(kSecretName),
                                          QRegularExpression::CaseInsensitiveOption);
    return whole.match(name).hasMatch();
}

// A JSON key as written between its quotes, with its escapes decoded ("pass\u0077ord").
QString decodedJsonKey(const QString &written)
{
    const QJsonDocument document = QJsonDocument::fromJson("[\"" + written.toUtf8() + "\"]");
    return document.isArray() ? document.array().at(0).toString() : written;
}

// Where a JSON object or array that opens at the given offset ends (past its
// closing bracket), or the end of the text when it never closes.
qsizetype endOfJsonContainer(const QString &text, qsizetype open)
{
    int depth = 0;
    bool inString = false;
    for (qsizetype at = open; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (inString) {
            if (c == u'\\')
                ++at;
            else if (c == u'"')
                inString = false;
        } else if (c == u'"') {
            inString = true;
        } else if (c == u'{' || c == u'[') {
            ++depth;
        } else if ((c == u'}' || c == u']') && --depth == 0) {
            return at + 1;
        }
    }
    return text.size();
}

// Masks the value of every JSON member whose key, once decoded, names a secret;
// an object or array under such a key goes whole.
QString withJsonSecretsMasked(const QString &text)
{
    static const QRegularExpression member(
        QStringLiteral(R"x("((?:[^"\\]|\\.)*)"\s*:\s*("(?:[^"\\]|\\.)*"|[{\[]|[^\s,{}\[\]]+))x"));
    QString masked;
    qsizetype copied = 0;
    qsizetype from = 0;
    for (QRegularExpressionMatch match; (match = member.match(text, from)).hasMatch();) {
        from = match.capturedEnd(0);
        if (!isSecretName(decodedJsonKey(match.captured(1))))
            continue;
        const bool container = match.captured(2) == u"{" || match.captured(2) == u"[";
        if (container)
            from = endOfJsonContainer(text, match.capturedStart(2));
        masked += text.mid(copied, match.capturedStart(2) - copied);
        masked += QStringLiteral("\"***\"");
        copied = from;
    }
    return masked + text.mid(copied);
}

}  // namespace

// The trace goes out with error reports, so reply values that are secrets are masked.
QString ScriptController::withSecretsMasked(const QString &reply)
{
    constexpr auto caseless = QRegularExpression::CaseInsensitiveOption;
    static const QRegularExpression attribute(
        "(" + kSecretName + QStringLiteral(R"x(\s*=\s*)("[^"]*"|'[^']*'|[^\s/>]+))x"), caseless);
    // All of a secret element's content goes, markup and character data included,
    // up to its end tag or, in a reply cut short, to the end.
    static const QRegularExpression element("(<(" + kSecretName +
                                                QStringLiteral(R"x()(?:\s[^>]*)?(?<!/)>)(.*?)(</\2\s*>|$))x"),
                                            caseless | QRegularExpression::DotMatchesEverythingOption);
    QString masked = reply;
    masked.replace(element, QStringLiteral("\\1***\\4"));
    masked = withJsonSecretsMasked(masked);
    masked.replace(attribute, QStringLiteral("\\1\"***\""));
    return masked;
}

void ScriptController::reportParsingFailure(const QString &reason, const QByteArray &data)
{
    // The trace keeps the start of a reply only: enough to see what came back.
    constexpr qsizetype kTracedCharacters = 4096;
    QString traced = withSecretsMasked(QString::fromUtf8(data));
    if (traced.size() > kTracedCharacters)
        traced = traced.left(kTracedCharacters) +
                 QStringLiteral("... (%1 more characters)").arg(traced.size() - kTracedCharacters);
    QLBackupProgressLogger::progressLogger().logInteractiveTrace(
        PathTemplate::fillTemplate(QStringLiteral("Parsing failed. For Data : %@ , Reason : %@"), {traced, reason}),
        true);
    if (mDelegate)
        mDelegate->parsingFailedWithError(reason, this);
}
