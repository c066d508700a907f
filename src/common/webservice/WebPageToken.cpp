#include "common/webservice/WebPageToken.h"

#include "common/webservice/ScriptController.h"

namespace {

const QString kTokenPath = QStringLiteral("/tarnix/desktop/getToken");
const QString kPagePath = QStringLiteral("/tarnix/desktop/Auto");

}  // namespace

WebPageToken::WebPageToken(std::function<void(const QUrl &)> openURL, std::chrono::milliseconds timeout)
    : mOpenURL(std::move(openURL))
    , mTimeout(timeout)
{}

WebPageToken::~WebPageToken() = default;

QByteArray WebPageToken::requestBody(const QString &userName, const QString &password, const QString &opType)
{
    return ScriptController::formText(QStringLiteral("uid=%@&pwd=%@&op_type=%@"), {userName, password, opType})
        .toUtf8();
}

QByteArray WebPageToken::shareBody(const QString &userName, const QString &password, const QList<SharedItem> &items)
{
    QString body = QString::fromUtf8(requestBody(userName, password, QStringLiteral("share")));
    for (const SharedItem &item : items)
        body += ScriptController::formText(
            item.isFolder ? QStringLiteral("&folderPaths=/%@") : QStringLiteral("&filePaths=/%@"), {item.path});
    return body.toUtf8();
}

void WebPageToken::request(const QString &userName, const QString &password, const QString &opType)
{
    send(requestBody(userName, password, opType));
}

void WebPageToken::requestShare(const QString &userName, const QString &password, const QList<SharedItem> &items)
{
    send(shareBody(userName, password, items));
}

void WebPageToken::send(const QByteArray &body)
{
    URLRequest request;
    request.url = ScriptController::serviceURL(ScriptController::kTarnixAccountWebSiteKey, kTokenPath);
    request.method = "POST";
    request.headers = {{URLRequest::kContentTypeHeader, "application/x-www-form-urlencoded"}};
    request.body = body;
    request.timeout = mTimeout;
    request.ignoreLocalCache = true;
    getAccessTokenConnection.reset(new ScriptURLConnection(request));
    getAccessTokenConnection->setDelegate(this);
    getAccessTokenConnection->startLoading();
}

std::optional<QUrl> WebPageToken::pageForReply(const QByteArray &reply)
{
    const QStringList parts = QString::fromUtf8(reply).split(':');
    if (parts.size() < 2 || parts.first() != QLatin1String("SUCCESS"))
        return std::nullopt;
    QString token = parts.at(1);
    token.remove('\n').remove('\r');
    if (token.isEmpty())
        return std::nullopt;
    QUrl page = ScriptController::serviceURL(ScriptController::kTarnixAccountWebSiteKey, kPagePath);
    // The token is the service's text: escaped whole, so that no "&", "#" or "+" in it changes the address.
    page.setQuery(QStringLiteral("token=") + QString::fromLatin1(QUrl::toPercentEncoding(token)), QUrl::StrictMode);
    return page;
}

void WebPageToken::ConnectionDidReceivedData(const QByteArray &data, ScriptURLConnection *connection)
{
    if (connection != getAccessTokenConnection.get())
        return;
    getAccessTokenConnection.reset();
    if (const auto page = pageForReply(data))
        mOpenURL(*page);
}

void WebPageToken::connectionFailedWithError(const RequestError &, ScriptURLConnection *connection)
{
    if (connection == getAccessTokenConnection.get())
        getAccessTokenConnection.reset();
}
