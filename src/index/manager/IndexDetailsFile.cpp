#include "index/manager/IndexDetailsFile.h"

#include "common/account/User.h"
#include "common/categories/QuellonExtension.h"
#include "platform/PropertyList.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

bool IndexDetailsFile::write(const QString &path, const User &account)
{
    QVariantMap details = PropertyList::readDictionary(path);
    details.insert(kUserName, account.UserName());
    details.insert(kPassword, quellonExtension::encryptedString(account.Password()));
    details.insert(kServerAddress, account.RuvoServerIP());
    details.insert(kWebDAVServer, account.WebServerIP());
    details.insert(kServerIP, account.RuvoServerIP());
    details.insert(kAccountType, account.isRuvoUser());
    if (account.isRuvoUser())
        details.insert(kEncryptionKey, account.isDefaultKey() ? QStringLiteral("NA") : QStringLiteral("key"));
    QString error;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (PropertyList::write(path, details, PropertyList::kOwnerReadWrite, PropertyList::Format::Xml, &error))
        return true;
    qWarning().noquote() << "index details file cannot be written:" << path << error;
    return false;
}
