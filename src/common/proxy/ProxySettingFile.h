#pragma once

#include "common/proxy/ProxyData.h"

#include <QString>
#include <QVariantMap>

#include <optional>

// The keys of the proxy settings file and of the check-box state file.
namespace ProxySettingKey {
inline constexpr QLatin1String Enable("ProxyEnable");          // 1 (or 2): a proxy is used
inline constexpr QLatin1String AuthEnable("ProxyAuthEnable");  // 1: the proxy wants a user name and password
inline constexpr QLatin1String Address("ProxyAddress");
inline constexpr QLatin1String Port("ProxyPort");
inline constexpr QLatin1String UserName("ProxyUserName");
inline constexpr QLatin1String Password("ProxyPassword");  // stored scrambled
}  // namespace ProxySettingKey

// The proxy settings file (application file "ProxySetting"): reading it,
// checking what goes into it, and saving it from the settings window.
namespace ProxySettingFile {

// Results of save.
inline constexpr int kSaveNoCheckStates = -1;  // the check-box state file is missing
inline constexpr int kSaveRefused = 0;         // a field is missing or invalid, or the file could not be written
inline constexpr int kSaveWritten = 1;

// The file as a dictionary; none (with the reason in *error) when it is
// missing, unreadable, corrupt or not a dictionary.
std::optional<QVariantMap> read(const QString &path, QString *error = nullptr);

// The stored password of a settings dictionary, unscrambled.
QString password(const QVariantMap &setting);
// A number stored as a number or as decimal text; 0 for anything else.
int number(const QVariantMap &setting, QLatin1String key);

// A host name, an IPv4 address or a bracketed IPv6 address.
bool isValidAddress(const QString &address);
// A whole number from 1 to 65535.
bool isValidPort(const QString &port);

// Validates the fields by the states of the check-box state file and writes
// the settings file whole (mode 0600: it holds the password). The address and
// credentials are written only when the proxy state is 1 (typed in)
// or 2 (the system's proxy). On anything but
// kSaveWritten, *reason says what is wrong in the user's words.
int save(const QString &path, const ProxyData &fields, QString *reason = nullptr);

}  // namespace ProxySettingFile
