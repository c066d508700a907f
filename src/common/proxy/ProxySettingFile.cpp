#include "common/proxy/ProxySettingFile.h"
#include "platform/ErrorSlot.h"

#include "common/categories/QuellonExtension.h"
#include "common/files/SettingsFileWriter.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/proxy/ProxyCheckBoxStateFile.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PropertyList.h"

#include <QRegularExpression>

namespace ProxySettingFile {
namespace {

constexpr int kLargestPort = 65535;
constexpr qsizetype kLongestHostName = 253;

// Sets *reason to the looked-up text and gives the result.
int refuse(QString *reason, const char *key, int result = kSaveRefused)
{
    ErrorSlot::fill(reason, QLLocalizedString(QLatin1String(key)));
    return result;
}

}  // namespace

std::optional<QVariantMap> read(const QString &path, QString *error)
{
    QString readError;
    const auto value = PropertyList::read(path, &readError);
    if (value && value->typeId() == QMetaType::QVariantMap)
        return value->toMap();
    ErrorSlot::fill(error, readError.isEmpty() ? path + QStringLiteral(": not a dictionary") : readError);
    return std::nullopt;
}

QString password(const QVariantMap &setting)
{
    return quellonExtension::decryptedString(setting.value(ProxySettingKey::Password).toString());
}

int number(const QVariantMap &setting, QLatin1String key)
{
    const QVariant value = setting.value(key);
    bool isNumber = false;
    const int result =
        value.typeId() == QMetaType::QString ? value.toString().trimmed().toInt(&isNumber) : value.toInt(&isNumber);
    return isNumber ? result : 0;
}

bool isValidAddress(const QString &address)
{
    static const QRegularExpression hostName(
        QStringLiteral(R"(^[A-Za-z0-9]([A-Za-z0-9_-]*[A-Za-z0-9])?(\.[A-Za-z0-9]([A-Za-z0-9_-]*[A-Za-z0-9])?)*\.?\z)"));
    static const QRegularExpression bracketedIPv6(QStringLiteral(R"(^\[[0-9A-Fa-f:.]+\]\z)"));
    return address.size() <= kLongestHostName &&
           (hostName.match(address).hasMatch() || bracketedIPv6.match(address).hasMatch());
}

bool isValidPort(const QString &port)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}\\z"));
    return digits.match(port).hasMatch() && port.toInt() >= 1 && port.toInt() <= kLargestPort;
}

int save(const QString &path, const ProxyData &fields, QString *reason)
{
    const auto states = ProxyCheckBoxStateFile::read();
    if (!states)
        return refuse(reason, "The proxy settings could not be saved.", kSaveNoCheckStates);
    const int proxyState = number(*states, ProxySettingKey::Enable);
    const int authState = number(*states, ProxySettingKey::AuthEnable);
    const QString address = fields.ipaddress().trimmed();
    const QString port = fields.port().trimmed();

    if (proxyState != 0) {
        if (address.isEmpty() || port.isEmpty())
            return refuse(reason, "Enter the proxy address and port.");
        if (!isValidAddress(address))
            return refuse(reason, "The proxy address is not valid.");
        if (!isValidPort(port))
            return refuse(reason, "The proxy port must be a number from 1 to 65535.");
        if (authState != 0 && (fields.userName().isEmpty() || fields.password().isEmpty()))
            return refuse(reason, "Enter the proxy user name and password.");
    }

    QVariantMap setting;
    // 1: an address typed in; 2: the system's proxy, copied into the fields.
    if (proxyState == 1 || proxyState == 2) {
        setting.insert(ProxySettingKey::Address, address);
        setting.insert(ProxySettingKey::Port, port);
        setting.insert(ProxySettingKey::UserName, fields.userName());
        setting.insert(ProxySettingKey::Password, quellonExtension::encryptedString(fields.password()));
    }
    setting.insert(ProxySettingKey::Enable, qint64(proxyState));
    setting.insert(ProxySettingKey::AuthEnable, qint64(authState));

    QString error;
    if (!SettingsFileWriter::writeSettingsFile(path, setting, PropertyList::kOwnerReadWrite, &error)) {
        QLBackupProgressLogger::progressLogger().logInteractiveTrace(
            QStringLiteral("Proxy settings not saved: ") + error, false);
        return refuse(reason, "The proxy settings could not be saved.");
    }
    return kSaveWritten;
}

}  // namespace ProxySettingFile
