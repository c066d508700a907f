#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

// What a LoginValidator reports: exactly one answer per validation or set-up request.
class LoginValidatorDelegateProtocol
{
public:
    virtual ~LoginValidatorDelegateProtocol() = default;

    virtual void userValidationDidStart() {}
    // The account details: the reply's attributes plus "Username" and "Password" as typed.
    virtual void loginValidationSuccessful(const QVariantMap &reply) = 0;
    virtual void loginValidationFailedWithError(const QString &message) = 0;
    // The active user names of an e-mail address.
    virtual void loginFoundAssociatedAccounts(const QStringList &userNames, const QString &email) = 0;
    virtual void accountConfigurationSuccessful(const QString &userName) = 0;
    virtual void accountConfigurationDidFailWithError(const QString &message, const QString &userName) = 0;
};
