#include "common/proxy/ProxyController.h"

#include "common/logging/QLBackupProgressLogger.h"
#include "common/proxy/ProxySettingFile.h"

#include <QUrl>

namespace {

void logNoProxy(const QString &reason)
{
    QLBackupProgressLogger::progressLogger().logInteractiveTrace(QStringLiteral("No proxy for the engine: ") + reason,
                                                                 false);
}

QString percentEncoded(const QString &value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); }

}  // namespace

ProxyController::ProxyController(const QString &proxyDetailsFilePath)
    : mSettingFilePath(proxyDetailsFilePath)
{
    readSettingFile();
}

void ProxyController::readSettingFile()
{
    QString error;
    const auto setting = ProxySettingFile::read(mSettingFilePath, &error);
    if (!setting) {
        logNoProxy(error);
        return;
    }
    const int enable = ProxySettingFile::number(*setting, ProxySettingKey::Enable);
    if (enable != 1 && enable != 2)
        return;

    const QString address = setting->value(ProxySettingKey::Address).toString();
    const QString port = setting->value(ProxySettingKey::Port).toString();
    // Only a hand-edited or damaged file gets here with these: saving refuses them.
    if ((!address.isEmpty() && !ProxySettingFile::isValidAddress(address)) ||
        (!port.isEmpty() && !ProxySettingFile::isValidPort(port))) {
        logNoProxy(mSettingFilePath + QStringLiteral(": the proxy address or port is not valid"));
        return;
    }
    mProxyData.setIpaddress(address);
    mProxyData.setPort(port);
    if (ProxySettingFile::number(*setting, ProxySettingKey::AuthEnable) == 1) {
        mProxyData.setUserName(setting->value(ProxySettingKey::UserName).toString());
        mProxyData.setPassword(ProxySettingFile::password(*setting));
    }
}

QString ProxyController::proxyArgument() const
{
    const QString userName = mProxyData.userName();
    if (userName.isEmpty() && mProxyData.ipaddress().isEmpty())
        return QStringLiteral("--proxy=");
    const QString server = mProxyData.ipaddress() + ':' + mProxyData.port();
    if (userName.isEmpty())
        return QStringLiteral("--proxy=:@") + server;
    return QStringLiteral("--proxy=") + percentEncoded(userName) + ':' + percentEncoded(mProxyData.password()) + '@' +
           server;
}
