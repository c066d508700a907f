#pragma once

#include "common/proxy/ProxyData.h"

#include <QString>

// The proxy settings of the engine: reads the proxy settings file into a
// ProxyData and turns it into the engine's proxy argument. Each engine command
// reads a controller of its own, so a saved change reaches the next command.
class ProxyController
{
public:
    // No settings file: no proxy.
    ProxyController() = default;
    // Reads the settings file once. A missing, empty, corrupt or disabled file
    // means no proxy; an unusable file is logged with its reason.
    explicit ProxyController(const QString &proxyDetailsFilePath);

    // "--proxy=" with no proxy, "--proxy=:@<address>:<port>" without a proxy
    // user, "--proxy=<user>:<password>@<address>:<port>" with one. The user
    // name and password are percent-encoded (UTF-8, every byte but A-Z a-z 0-9
    // - . _ ~), so that ":", "@" or "%" in them cannot change what the engine reads.
    QString proxyArgument() const;

    const ProxyData &proxyData() const { return mProxyData; }
    ProxyData &proxyData() { return mProxyData; }
    const QString &settingFilePath() const { return mSettingFilePath; }

private:
    void readSettingFile();

    QString mSettingFilePath;
    ProxyData mProxyData;
};
