#pragma once

#include "common/utility/Guarded.h"

#include <QString>

// The signed-in account: who the user is, how to reach the storage server and
// what the engine needs to authenticate and decrypt. A plain value holder that
// validates nothing; login fills it while workers read it, so every field is
// read and written whole.
class User
{
public:
    QString UserName() const { return mUserName.get(); }
    void setUserName(const QString &value) { mUserName.set(value); }
    QString Password() const { return mPassword.get(); }
    void setPassword(const QString &value) { mPassword.set(value); }
    // The complete engine port argument, not a bare number.
    QString Port() const { return mPort.get(); }
    void setPort(const QString &value) { mPort.set(value); }
    QString RuvoServerIP() const { return mRuvoServerIP.get(); }
    void setRuvoServerIP(const QString &value) { mRuvoServerIP.set(value); }
    QString WebServerIP() const { return mWebServerIP.get(); }
    void setWebServerIP(const QString &value) { mWebServerIP.set(value); }
    QString PrivateKey() const { return mPrivateKey.get(); }
    void setPrivateKey(const QString &value) { mPrivateKey.set(value); }
    bool isDefaultKey() const { return mIsDefaultKey.get(); }
    void setISDefaultKey(bool value) { mIsDefaultKey.set(value); }
    bool isRuvoUser() const { return mIsRuvoUser.get(); }
    void setRuvoUser(bool value) { mIsRuvoUser.set(value); }
    bool isBusinessUser() const { return mIsBusinessUser.get(); }
    void setIsBusinessUser(bool value) { mIsBusinessUser.set(value); }
    QString LoggedUserName() const { return mLoggedUserName.get(); }
    void setLoggedUserName(const QString &value) { mLoggedUserName.set(value); }
    QString LoggedPassword() const { return mLoggedPassword.get(); }
    void setLoggedPassword(const QString &value) { mLoggedPassword.set(value); }
    QString mMPCName() const { return mMpcName.get(); }
    void setMPCName(const QString &value) { mMpcName.set(value); }
    QString mEncodedPassword() const { return mEncodedPasswordValue.get(); }
    void setMEncodedPassword(const QString &value) { mEncodedPasswordValue.set(value); }
    QString mEncodedKey() const { return mEncodedKeyValue.get(); }
    void setMEncodedKey(const QString &value) { mEncodedKeyValue.set(value); }
    QString Server1() const { return mServer1.get(); }
    void setServer1Name(const QString &value) { mServer1.set(value); }
    QString mSyncUserName() const { return mSyncUserNameValue.get(); }
    void setMSyncUserName(const QString &value) { mSyncUserNameValue.set(value); }
    QString mSyncPassword() const { return mSyncPasswordValue.get(); }
    void setMSyncPassword(const QString &value) { mSyncPasswordValue.set(value); }
    QString mSyncRuvoServerIP() const { return mSyncRuvoServerIPValue.get(); }
    void setMSyncRuvoServerIP(const QString &value) { mSyncRuvoServerIPValue.set(value); }
    QString mSyncEncodedPwd() const { return mSyncEncodedPwdValue.get(); }
    void setMSyncEncodedPwd(const QString &value) { mSyncEncodedPwdValue.set(value); }
    QString mSyncWebServerIP() const { return mSyncWebServerIPValue.get(); }
    void setMSyncWebServerIP(const QString &value) { mSyncWebServerIPValue.set(value); }

    // Copies what an engine controller needs from the signed-in account into
    // this controller's own record: the credentials, server, keys, the port
    // argument taken afresh, the storage-server and default-key flags, and each
    // sync field only when the account has one.
    void copyEngineFieldsFrom(const User &account, const QString &portArgument);

private:
    Guarded<QString> mUserName;
    Guarded<QString> mPassword;
    Guarded<QString> mPort;
    Guarded<QString> mRuvoServerIP;
    Guarded<QString> mWebServerIP;
    Guarded<QString> mPrivateKey;
    Guarded<bool> mIsDefaultKey;
    Guarded<bool> mIsRuvoUser;
    Guarded<bool> mIsBusinessUser;
    Guarded<QString> mLoggedUserName;
    Guarded<QString> mLoggedPassword;
    Guarded<QString> mMpcName;
    Guarded<QString> mEncodedPasswordValue;
    Guarded<QString> mEncodedKeyValue;
    Guarded<QString> mServer1;
    Guarded<QString> mSyncUserNameValue;
    Guarded<QString> mSyncPasswordValue;
    Guarded<QString> mSyncRuvoServerIPValue;
    Guarded<QString> mSyncEncodedPwdValue;
    Guarded<QString> mSyncWebServerIPValue;
};
