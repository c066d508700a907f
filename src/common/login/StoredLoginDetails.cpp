#include "common/login/StoredLoginDetails.h"

#include "common/categories/QuellonExtension.h"
#include "common/files/DirectiryCreation.h"
#include "common/files/SettingsFileWriter.h"
#include "common/files/TXSupportFileManager.h"
#include "common/files/TextFile.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>
#include <QtDebug>

namespace StoredLoginDetails {

namespace {

QString pathOf(ApplicationFile file) { return TXSupportFileManager::txFileManager().pathForApplicationFile(file); }

// The login plists and the key files hold scrambled secrets: only the user reads them.
bool writePrivatePlist(const QString &path, const QVariantMap &content)
{
    QString error;
    if (SettingsFileWriter::writeSettingsFile(path, content, PropertyList::kOwnerReadWrite, &error))
        return true;
    qWarning().noquote() << "Login details not stored:" << error;
    return false;
}

QString withFallback(const QVariantMap &details, const QString &key, const QString &fallback)
{
    return details.contains(key) ? details.value(key).toString() : details.value(fallback).toString();
}

}  // namespace

QString userNameOf(const QVariantMap &details) { return withFallback(details, kTarnixUsername, kUsername); }

QString passwordOf(const QVariantMap &details)
{
    return quellonExtension::decryptedString(withFallback(details, kTarnixPassword, kPassword));
}

std::optional<QVariantMap> lastUserDetails()
{
    const QString path = pathOf(ApplicationFile::LastUserLoginDetailsFilePath);
    if (!QFileInfo::exists(path))
        return std::nullopt;
    QString error;
    const QVariantMap details = PropertyList::readDictionary(path, &error);
    if (!error.isEmpty())
        qWarning().noquote() << "The last login's details cannot be read:" << error;
    return details;
}

bool isUserExists(const QString &userName)
{
    TXSupportFileManager::txFileManager().setTarnixUserName(userName);
    const QVariantMap details = PropertyList::readDictionary(pathOf(ApplicationFile::LoginDetailsFilePath));
    return !userNameOf(details).isEmpty();
}

bool writeLoginDetails(const QVariantMap &details)
{
    const bool lastUser = writePrivatePlist(pathOf(ApplicationFile::LastUserLoginDetailsFilePath), details);
    return writePrivatePlist(pathOf(ApplicationFile::LoginDetailsFilePath), details) && lastUser;
}

void setRememberDetails(bool remember)
{
    for (ApplicationFile folder : {ApplicationFile::UserFolder, ApplicationFile::RootUserFolder})
        Directiry_Creation::createPrivateDirectoryHierarchyAtPath(pathOf(folder));
    const QString path = pathOf(ApplicationFile::LastUserLoginDetailsFilePath);
    QVariantMap details = PropertyList::readDictionary(path);
    if (details.isEmpty())
        return;
    details.insert(kRememberDetails, remember ? 1 : 0);
    writePrivatePlist(path, details);
}

void setEncryptionDetails(const QVariantMap &details)
{
    if (!details.contains(kPrivateKey))
        return;
    const QString scrambledKey = details.value(kPrivateKey).toString();
    TextFile::write(pathOf(ApplicationFile::EncKeyPath), scrambledKey, PropertyList::kOwnerReadWrite);
    const QString keysPath = pathOf(ApplicationFile::EncPrefKeyPath);
    QVariantMap keys = PropertyList::readDictionary(keysPath);
    keys.insert(details.value(kTarnixUsername).toString(), scrambledKey);
    writePrivatePlist(keysPath, keys);
}

std::optional<QString> storedPrivateKey(const QString &userName)
{
    const QString keyFile = pathOf(ApplicationFile::EncKeyPath);
    if (!QFileInfo::exists(keyFile)) {
        const QVariantMap keys = PropertyList::readDictionary(pathOf(ApplicationFile::EncPrefKeyPath));
        if (keys.contains(userName))
            TextFile::write(keyFile, keys.value(userName).toString(), PropertyList::kOwnerReadWrite);
    }
    const auto key = TextFile::read(keyFile);
    if (!key || key->isEmpty())
        return std::nullopt;
    return key;
}

void writeEncType(const QString &type, const QString &userName)
{
    const QString path = pathOf(ApplicationFile::DefaultKeyPath);
    QVariantMap types = PropertyList::readDictionary(path);
    types.insert(userName, type);
    QString error;
    if (!SettingsFileWriter::writeSettingsFile(path, types, PropertyList::kDefaultMode, &error))
        qWarning().noquote() << "Encryption type not stored:" << error;
}

void writeJspServer(const QString &value)
{
    TextFile::write(pathOf(ApplicationFile::RootUserFolder) + QStringLiteral("/jspserver"), value);
}

}  // namespace StoredLoginDetails
