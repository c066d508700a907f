#include "index/manager/IndexDetailsFile.h"

#include "common/categories/QuellonExtension.h"
#include "common/account/User.h"
#include "platform/PropertyList.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

bool IndexDetailsFile::write(const QString &path, const User &account)
{
    QVariantMap details = PropertyList::readDictionary(path);
    details.insert(QStringLiteral("User Name"), account.UserName());
    details.insert(QStringLiteral("Password"), quellonExtension::encryptedString(account.Password()));
    details.insert(QStringLiteral("Server Address"), account.RuvoServerIP());
    details.insert(QStringLiteral("WebDAVServer"), account.WebServerIP());
    details.insert(QStringLiteral("Server IP"), account.RuvoServerIP());
    details.insert(QStringLiteral("Account Type"), account.isRuvoUser());
    if (account.isRuvoUser())
        details.insert(QStringLiteral("Encryption Key"), account.isDefaultKey() ? QStringLiteral("NA") : QStringLiteral("key"));
    QString error;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (PropertyList::write(path, details, PropertyList::kOwnerReadWrite, PropertyList::Format::Xml, &error))
        return true;
    qWarning().noquote() << "index details file cannot be written:" << path << error;
    return false;
}
