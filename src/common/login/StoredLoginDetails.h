#pragma once

#include <QString>
#include <QVariantMap>

#include <optional>

// The login details kept on disk: the last-user and per-user login plists and
// their companion files (key file, key plist, encryption-type plist, server
// file). Files that hold scrambled passwords or keys are private to the user
// (0600). Stored values are never shown or logged.
namespace StoredLoginDetails {

// Keys of the login plists (the user-details dictionary the login builds).
inline const QString kUsername = QStringLiteral("Username");
inline const QString kTarnixUsername = QStringLiteral("TarnixUsername");
inline const QString kQuellonUserName = QStringLiteral("QuellonUserName");
inline const QString kPassword = QStringLiteral("Password");              // scrambled
inline const QString kTarnixPassword = QStringLiteral("TarnixPassword");  // scrambled
inline const QString kEncodedPassword = QStringLiteral("EncodedPassword");
inline const QString kEncodedKey = QStringLiteral("EncodedKey");
inline const QString kPrivateKey = QStringLiteral("pvtkey");  // scrambled
inline const QString kServerName = QStringLiteral("serverName");
inline const QString kWebServerName = QStringLiteral("webServerName");
inline const QString kQuotaServerName = QStringLiteral("quotaServername");
inline const QString kUserAtServer = QStringLiteral("UserAtServer");
inline const QString kSSL = QStringLiteral("SSL");
inline const QString kRememberDetails = QStringLiteral("RememberDetails");
inline const QString kTarnixQuota = QStringLiteral("TarnixQuota");
inline const QString kJspServer = QStringLiteral("jspsrvr");
inline const QString kEmailID = QStringLiteral("EmailID");
inline const QString kIsEmailID = QStringLiteral("isEmailID");

// Values of the encryption-type plist.
inline const QString kDefaultEncryption = QStringLiteral("DEFAULT");
inline const QString kPrivateEncryption = QStringLiteral("PRIVATE");

// A key read with its fallback: "TarnixUsername" then "Username"; the password
// ("TarnixPassword" then "Password") unscrambled.
QString userNameOf(const QVariantMap &details);
QString passwordOf(const QVariantMap &details);

// The last-user login plist; none when it does not exist. A corrupt file reads as empty.
std::optional<QVariantMap> lastUserDetails();
// Whether the per-user login plist of this user exists and names a user; sets the
// user as the current one of the application files.
bool isUserExists(const QString &userName);

// Replaces both login plists (last user first) with the details, private to the user.
bool writeLoginDetails(const QVariantMap &details);
// Sets "RememberDetails" in the last-user plist, only when it exists and holds entries.
void setRememberDetails(bool remember);
// Writes the key file and the user's entry of the key plist from "pvtkey"; nothing without one.
void setEncryptionDetails(const QVariantMap &details);
// The current user's scrambled private key: the key file, restored first from the key
// plist when the file is missing; none when neither holds a key.
std::optional<QString> storedPrivateKey(const QString &userName);
// user -> "DEFAULT" or "PRIVATE" in the encryption-type plist.
void writeEncType(const QString &type, const QString &userName);
// The account's "jspsrvr" value in the user's server file.
void writeJspServer(const QString &value);

}  // namespace StoredLoginDetails
