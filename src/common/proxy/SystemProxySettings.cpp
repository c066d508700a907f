#include "common/proxy/SystemProxySettings.h"

#include <QNetworkProxyFactory>
#include <QNetworkProxyQuery>
#include <QUrl>

namespace SystemProxySettings {
namespace {

QString portText(int port) { return port > 0 ? QString::number(port) : QString(); }

// A proxy setting of the environment: a URL, or a bare "host:port".
std::optional<Proxy> fromEnvironment(const char *lowerName, const char *upperName)
{
    QString value = qEnvironmentVariable(lowerName).trimmed();
    if (value.isEmpty())
        value = qEnvironmentVariable(upperName).trimmed();
    if (value.isEmpty())
        return std::nullopt;
    const QUrl url(value.contains(QLatin1String("://")) ? value : QStringLiteral("http://") + value);
    if (url.host().isEmpty())
        return std::nullopt;
    return Proxy{url.host(), portText(url.port())};
}

std::optional<Proxy> fromSystemQuery(const QString &scheme)
{
    const QNetworkProxyQuery query(QUrl(scheme + QStringLiteral("://www.example.com/")));
    for (const QNetworkProxy &proxy : QNetworkProxyFactory::systemProxyForQuery(query)) {
        if (proxy.type() != QNetworkProxy::NoProxy && !proxy.hostName().isEmpty())
            return Proxy{proxy.hostName(), portText(proxy.port())};
    }
    return std::nullopt;
}

}  // namespace

std::optional<Proxy> current()
{
    if (auto proxy = fromEnvironment("https_proxy", "HTTPS_PROXY"))
        return proxy;
    if (auto proxy = fromEnvironment("http_proxy", "HTTP_PROXY"))
        return proxy;
    if (auto proxy = fromSystemQuery(QStringLiteral("https")))
        return proxy;
    return fromSystemQuery(QStringLiteral("http"));
}

}  // namespace SystemProxySettings
