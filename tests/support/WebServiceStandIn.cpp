#include "support/WebServiceStandIn.h"
#include "common/context/ProgramContext.h"
#include "common/texts/TextTable.h"

#include "common/texts/QLLocalizedString.h"
#include "platform/PropertyList.h"
#include "webservice/SecretMask.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>

namespace {

constexpr int kStartTimeoutMs = 10000;

QString fromEnvironment(const char *name) { return qEnvironmentVariable(name); }

}  // namespace

WebServiceStandIn::WebServiceStandIn(const QString &folder)
    : mFolder(folder)
{
    QDir().mkpath(folder);
    writeConfig(QJsonObject());
}

WebServiceStandIn::~WebServiceStandIn()
{
    stop();
    if (mResourcesChanged) {
        qputenv("TX_RESOURCES", mSavedResources);
        ProgramContext::current().texts().reload();
    }
}

std::unique_ptr<WebServiceStandIn> WebServiceStandIn::startForClient(const QString &folder, const QJsonObject &config,
                                                                     bool withProxy)
{
    auto service = std::make_unique<WebServiceStandIn>(folder);
    service->writeConfig(config);
    if (!service->start(withProxy))
        return nullptr;
    service->configureClient();
    return service;
}

QJsonObject WebServiceStandIn::demoAccount()
{
    return QJsonObject{{"accounts", QJsonArray{QJsonObject{{"username", "demo"}, {"password", "demo password"}}}}};
}

QString WebServiceStandIn::certificateFolder()
{
    static QTemporaryDir folder;
    static const bool made = [] {
        const QString script = fromEnvironment("TX_SOURCE_DIR") + "/tools/webservice/make-certificates.sh";
        return QProcess::execute(script, {folder.path()}) == 0;
    }();
    return made ? folder.path() : QString();
}

void WebServiceStandIn::writeConfig(const QJsonObject &config)
{
    QFile file(mFolder + "/config.json");
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QJsonDocument(config).toJson());
}

bool WebServiceStandIn::start(bool withProxy)
{
    QStringList arguments{"--certificates", certificateFolder(), "--config", mFolder + "/config.json",
                          "--log",          requestLogPath()};
    if (withProxy)
        arguments << "--proxy-port"
                  << "0";
    mProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    mProcess.start(fromEnvironment("TX_BIN_DIR") + "/txwebservice", arguments);
    if (!mProcess.waitForStarted(kStartTimeoutMs))
        return false;
    // The service prints "webservice https://127.0.0.1:<port>" and, with the proxy, "proxy http://127.0.0.1:<port>".
    while (mPort == 0 || (withProxy && mProxyPort == 0)) {
        if (!mProcess.canReadLine() && !mProcess.waitForReadyRead(kStartTimeoutMs))
            return false;
        while (mProcess.canReadLine()) {
            const QString line = QString::fromUtf8(mProcess.readLine()).trimmed();
            const int port = QUrl(line.section(' ', 1)).port();
            (line.startsWith("proxy ") ? mProxyPort : mPort) = port;
        }
    }
    return true;
}

void WebServiceStandIn::stop()
{
    if (mProcess.state() == QProcess::NotRunning)
        return;
    mProcess.kill();
    mProcess.waitForFinished();
}

QList<QJsonObject> WebServiceStandIn::requests() const
{
    QList<QJsonObject> entries;
    QFile file(requestLogPath());
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (!line.isEmpty())
            entries.append(QJsonDocument::fromJson(line).object());
    return entries;
}

QString WebServiceStandIn::maskedSecret(const QString &value) { return SecretMask::masked(value); }

void WebServiceStandIn::configureClient(bool trustTestAuthority)
{
    const QString source = fromEnvironment("TX_RESOURCES");
    const QString copy = mFolder + "/resources";
    for (const QString &brand : {QStringLiteral("Tarnix"), QStringLiteral("Quellon")}) {
        QVariantMap table = PropertyList::readDictionary(source + '/' + brand + "/Localizable.plist");
        for (auto it = table.begin(); it != table.end(); ++it)
            if (it.value().toString().startsWith(kConfiguredAddress))
                it.value() = it.value().toString().replace(kConfiguredAddress, url());
        table.insert("WebServiceCertificateFile",
                     trustTestAuthority ? certificateFolder() + "/ca.pem" : mFolder + "/no-such-authority.pem");
        QDir().mkpath(copy + '/' + brand);
        PropertyList::write(copy + '/' + brand + "/Localizable.plist", table);
    }
    if (!mResourcesChanged) {
        mSavedResources = qgetenv("TX_RESOURCES");
        mResourcesChanged = true;
    }
    qputenv("TX_RESOURCES", copy.toUtf8());
    ProgramContext::current().texts().reload();
}
