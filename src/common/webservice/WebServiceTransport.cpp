#include "common/webservice/WebServiceTransport.h"

#include "common/texts/QLLocalizedString.h"
#include "common/webservice/URLRequest.h"

#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QSslCertificate>
#include <QSslConfiguration>
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
    QNetworkRequest networkRequest(request.url);
    for (const auto &[name, value] : request.headers)
        networkRequest.setRawHeader(name, value);
    if (request.timeout.count() > 0)
        networkRequest.setTransferTimeout(static_cast<int>(request.timeout.count()));
    if (request.ignoreLocalCache) {
        networkRequest.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        networkRequest.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    }
    if (request.url.scheme() == QLatin1String("https"))
        networkRequest.setSslConfiguration(tlsConfiguration());
    return manager.sendCustomRequest(networkRequest, request.method, request.body);
}

}  // namespace WebServiceTransport
