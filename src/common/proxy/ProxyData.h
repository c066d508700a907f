#pragma once

#include <QString>

// One proxy configuration: address, port and the proxy's own credentials.
// An unset field reads as "".
class ProxyData
{
public:
    QString userName() const { return valueOrEmpty(mUserName); }
    QString password() const { return valueOrEmpty(mPassword); }
    QString ipaddress() const { return valueOrEmpty(mIpaddress); }
    QString port() const { return valueOrEmpty(mPort); }

    void setUserName(const QString &value) { mUserName = value; }
    void setPassword(const QString &value) { mPassword = value; }
    void setIpaddress(const QString &value) { mIpaddress = value; }
    void setPort(const QString &value) { mPort = value; }

    // Unsets all four fields.
    void clearProxyData() { *this = ProxyData(); }

private:
    static QString valueOrEmpty(const QString &value) { return value.isNull() ? QStringLiteral("") : value; }

    QString mUserName;
    QString mPassword;
    QString mIpaddress;
    QString mPort;
};
