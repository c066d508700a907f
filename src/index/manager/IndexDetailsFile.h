#pragma once

#include <QString>

class User;

// The index details file: who the index on the drive belongs to and how the
// account reaches its storage server. It holds the scrambled password, so it
// is written for its owner alone (0600).
namespace IndexDetailsFile {

// Its keys.
inline const QString kUserName = QStringLiteral("User Name");
inline const QString kPassword = QStringLiteral("Password");  // scrambled
inline const QString kServerAddress = QStringLiteral("Server Address");
inline const QString kWebDAVServer = QStringLiteral("WebDAVServer");
inline const QString kServerIP = QStringLiteral("Server IP");
inline const QString kAccountType = QStringLiteral("Account Type");
inline const QString kEncryptionKey = QStringLiteral("Encryption Key");

// Sets the account's keys in the dictionary file at path, keeping any other
// keys it holds, and writes it atomically. False when it cannot be written.
bool write(const QString &path, const User &account);

}  // namespace IndexDetailsFile
