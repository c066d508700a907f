#include "common/account/User.h"

void User::copyEngineFieldsFrom(const User &account, const QString &portArgument)
{
    setUserName(account.UserName());
    setPassword(account.Password());
    setPrivateKey(account.PrivateKey());
    setPort(portArgument);
    setRuvoServerIP(account.RuvoServerIP());
    setMEncodedKey(account.mEncodedKey());
    setMEncodedPassword(account.mEncodedPassword());
    setRuvoUser(account.isRuvoUser());
    // The version list decides from its own copy whether to pass the private key.
    setISDefaultKey(account.isDefaultKey());

    const auto copyWhenSet = [](const QString &value, auto setter) {
        if (!value.isEmpty())
            setter(value);
    };
    copyWhenSet(account.mSyncUserName(), [this](const QString &v) { setMSyncUserName(v); });
    copyWhenSet(account.mSyncPassword(), [this](const QString &v) { setMSyncPassword(v); });
    copyWhenSet(account.mSyncEncodedPwd(), [this](const QString &v) { setMSyncEncodedPwd(v); });
    copyWhenSet(account.mSyncRuvoServerIP(), [this](const QString &v) { setMSyncRuvoServerIP(v); });
    copyWhenSet(account.mSyncWebServerIP(), [this](const QString &v) { setMSyncWebServerIP(v); });
}
