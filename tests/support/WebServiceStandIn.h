#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>

#include <memory>

// Runs the stand-in web service (txwebservice) for a test, on a free loopback
// port, with the test certificate authority; optionally also its refusing proxy.
class WebServiceStandIn
{
public:
    // The address the shipped configuration gives every web-service host.
    static inline const QString kConfiguredAddress = QStringLiteral("https://127.0.0.1:47443");

    // Working files (configuration, request log, resources copy) go into folder.
    explicit WebServiceStandIn(const QString &folder);
    ~WebServiceStandIn();

    // A service for the client under test: the configuration written, the
    // service started (with its proxy when asked) and the client pointed at it
    // with the test authority trusted. Null when it does not start.
    static std::unique_ptr<WebServiceStandIn> startForClient(const QString &folder, const QJsonObject &config,
                                                             bool withProxy = false);
    // The configuration with the one account "demo" (password "demo password").
    static QJsonObject demoAccount();

    // The folder with ca.pem, server.pem and server.key, made once per test program.
    static QString certificateFolder();

    // Accounts and failure modes; read by the service for every request.
    void writeConfig(const QJsonObject &config);
    // Starts the service and waits until it listens; false (with the reason on stderr) when it does not.
    bool start(bool withProxy = false);
    void stop();

    QString url() const { return QStringLiteral("https://127.0.0.1:%1").arg(mPort); }
    int proxyPort() const { return mProxyPort; }
    // Every request the service and the proxy received, in order.
    QList<QJsonObject> requests() const;

    // Makes the client use this service: a copy of the resources in which every
    // host at kConfiguredAddress points here and the test authority is trusted
    // (or, without trustTestAuthority, only the system's store). Undone on destruction.
    void configureClient(bool trustTestAuthority = true);

private:
    QString mFolder;
    QProcess mProcess;
    int mPort = 0;
    int mProxyPort = 0;
    QByteArray mSavedResources;
    bool mResourcesChanged = false;
};
