#pragma once

#include "common/proxy/ProxyData.h"

#include <QString>
#include <QVariantMap>

// The proxy controls of the General pane without their display: the choice of
// no proxy (0), a proxy typed in (1) or the system's proxy (2), the address,
// the authentication switch and credentials. Every change is saved at once
// into the one proxy settings file that the engines are started with.
class MonitorProxySettings
{
public:
    enum Mode
    {
        NoProxy = 0,
        TypedIn = 1,
        SystemProxy = 2
    };

    explicit MonitorProxySettings(QString settingFilePath);

    // Fills the fields from the settings file; the pending choice starts from
    // it too, so the authentication switch survives a restart.
    void loadProxySettings();

    int mode() const { return mMode; }
    bool authEnabled() const { return mAuthEnabled; }
    const ProxyData &fields() const { return mFields; }
    void setFields(const ProxyData &fields) { mFields = fields; }

    // Chooses a mode and saves. No proxy empties every field and switches
    // authentication off; the system's proxy copies its address, and false
    // means there is none: the choice falls back to no proxy.
    bool EnableProxy(int mode);
    void EnableProxyAuth(bool enabled);

    // ProxySettingFile's answer: -1 without the pending choice, 0 when a
    // field is missing (nothing is written), 1 when written.
    int SaveSetting(QString *reason = nullptr);

private:
    void writePendingChoice();

    QString mSettingFilePath;
    int mMode = NoProxy;
    bool mAuthEnabled = false;
    ProxyData mFields;
};
