#include "common/webservice/WebServiceTransport.h"

#include "common/texts/QLLocalizedString.h"
#include "common/webservice/URLRequest.h"

#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTimer>
#include <QtDebug>

namespace {

// An application proxy set by the program wins; otherwise the desktop's settings
// (on Linux the http_proxy, https_proxy and no_proxy variables) apply.
class PlatformProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        const QNetworkProxy application = QNetworkProxy::applicationProxy();
        if (application.type() != QNetworkProxy::NoProxy && application.type() != QNetworkProxy::DefaultProxy)
            return {application};
        return systemProxyForQuery(query);
    }
};

QList<QSslCertificate> configuredAuthorities()
{
    const QString path = QLLocalizedString(WebServiceTransport::kCertificateFileKey);
    if (path == WebServiceTransport::kCertificateFileKey || !QFileInfo(path).isFile())
        return {};
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(path, QSsl::Pem);
    if (certificates.isEmpty())
        qWarning().noquote() << "No certificate authority could be read from" << path << "- using the system store";
    return certificates;
}

// Certificate verification with the trusted authorities.
QSslConfiguration tlsConfiguration()
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    const QList<QSslCertificate> authorities = configuredAuthorities();
    if (!authorities.isEmpty())
        configuration.setCaCertificates(authorities);  // these only: the system store is not consulted
    return configuration;
}

// Ends a reply that runs too long in all, or grows too large, with the reason kept on it.
void limit(QNetworkReply *reply, const URLRequest &request)
{
    // The last progress report comes when the reply has already finished: the reason
    // kept on it still makes the reply a failure.
    auto abortWith = [reply](const QString &reason) {
        if (!WebServiceTransport::abortReason(*reply).isEmpty())
            return;
        reply->setProperty(WebServiceTransport::kAbortReasonProperty, reason);
        if (!reply->isFinished())
            reply->abort();
    };
    auto *deadline = new QTimer(reply);  // goes with the reply
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, [abortWith, request] {
        abortWith(QStringLiteral("no complete reply within %1 s").arg(request.totalTimeout.count() / 1000.0));
    });
    deadline->start(request.totalTimeout);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [abortWith, request](qint64 received, qint64) {
        if (received > request.maxReplyBytes)
            abortWith(QStringLiteral("a reply larger than %1 bytes").arg(request.maxReplyBytes));
    });
}

}  // namespace

namespace WebServiceTransport {

std::unique_ptr<QNetworkAccessManager> makeManager()
{
    auto manager = std::make_unique<QNetworkAccessManager>();
    manager->setProxyFactory(new PlatformProxyFactory);  // the manager owns the factory
    return manager;
}

QNetworkReply *send(QNetworkAccessManager &manager, const URLRequest &request)
{
    QUrl url = request.url;
    const bool plain = url.scheme() != QLatin1String("https");
    if (plain && !request.allowPlainHttp) {
        // Never sent: the reply fails at once with "protocol unknown", as any caller expects a reply.
        qWarning().noquote() << "A web-service address without https is refused:" << url.toString(QUrl::RemoveUserInfo);
        url.setScheme(QStringLiteral("refused-plain-http"));
    }
    QNetworkRequest networkRequest(url);
    // Credentials travel in the body: a redirect to another origin must not receive them.
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    // One connection per request. When a redirect arrives on a kept-alive connection, Qt's
    // HTTP/1 channel may send the original request once more on it while following the
    // redirect on another, then ends the reply with an unknown network error: a sound
    // reply reported as a failed login. A request is one exchange here, so nothing is lost.
    networkRequest.setRawHeader("Connection", "close");
    for (const auto &[name, value] : request.headers)
        networkRequest.setRawHeader(name, value);
    networkRequest.setTransferTimeout(static_cast<int>(request.timeout.count()));
    if (request.ignoreLocalCache) {
        networkRequest.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        networkRequest.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    }
    if (request.url.scheme() == QLatin1String("https"))
        networkRequest.setSslConfiguration(tlsConfiguration());
    QNetworkReply *reply = manager.sendCustomRequest(networkRequest, request.method, request.body);
    limit(reply, request);
    return reply;
}

QString abortReason(const QNetworkReply &reply) { return reply.property(kAbortReasonProperty).toString(); }

bool failed(const QNetworkReply &reply)
{
    return reply.error() != QNetworkReply::NoError || !abortReason(reply).isEmpty();
}

}  // namespace WebServiceTransport
