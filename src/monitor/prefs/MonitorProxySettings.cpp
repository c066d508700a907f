#include "monitor/prefs/MonitorProxySettings.h"

#include "common/proxy/ProxyCheckBoxStateFile.h"
#include "common/proxy/ProxySettingFile.h"
#include "common/proxy/SystemProxySettings.h"

MonitorProxySettings::MonitorProxySettings(QString settingFilePath)
    : mSettingFilePath(std::move(settingFilePath))
{}

void MonitorProxySettings::loadProxySettings()
{
    const QVariantMap setting = ProxySettingFile::read(mSettingFilePath).value_or(QVariantMap());
    mMode = ProxySettingFile::number(setting, ProxySettingKey::Enable);
    if (mMode < NoProxy || mMode > SystemProxy)
        mMode = NoProxy;
    mAuthEnabled = ProxySettingFile::number(setting, ProxySettingKey::AuthEnable) == 1;
    mFields.clearProxyData();
    mFields.setIpaddress(setting.value(ProxySettingKey::Address).toString());
    mFields.setPort(setting.value(ProxySettingKey::Port).toString());
    mFields.setUserName(setting.value(ProxySettingKey::UserName).toString());
    mFields.setPassword(ProxySettingFile::password(setting));
    writePendingChoice();
}

bool MonitorProxySettings::EnableProxy(int mode)
{
    bool found = true;
    if (mode == SystemProxy) {
        const auto system = SystemProxySettings::current();
        found = system.has_value();
        mFields.setIpaddress(found ? system->host : QString());
        mFields.setPort(found ? system->port : QString());
    }
    mMode = found ? mode : NoProxy;
    if (mMode == NoProxy) {
        mAuthEnabled = false;
        mFields.clearProxyData();
    }
    writePendingChoice();
    SaveSetting();
    return found;
}

void MonitorProxySettings::EnableProxyAuth(bool enabled)
{
    mAuthEnabled = enabled;
    writePendingChoice();
    SaveSetting();
}

int MonitorProxySettings::SaveSetting(QString *reason)
{
    ProxyData fields = mFields;
    if (!mAuthEnabled) {
        fields.setUserName({});
        fields.setPassword({});
    }
    return ProxySettingFile::save(mSettingFilePath, fields, reason);
}

void MonitorProxySettings::writePendingChoice()
{
    ProxyCheckBoxStateFile::write({{ProxySettingKey::Enable, QString::number(mMode)},
                                   {ProxySettingKey::AuthEnable, QString::number(mAuthEnabled ? 1 : 0)}});
}
