#pragma once

#include <QByteArray>
#include <QString>

// The key text handed to the library when a connection to an index file opens.
//
// The library turns the passphrase and the salt at the head of a file into the
// page key by a deliberately slow derivation (tens of milliseconds). A file
// that already has its salt gets the library's raw-key form instead
// (x'<key><salt>' in hexadecimal), derived here once per salt and kept for
// the process's lifetime, in memory only. The stored format is the same
// either way: the derivation below uses the library's own settings.
class FMDatabaseKey
{
public:
    // The settings of the library's key derivation for this format.
    static constexpr int kSaltBytes = 16;
    static constexpr int kKeyBytes = 32;
    static constexpr int kDerivationRounds = 64000;  // PBKDF2 with HMAC-SHA1

    // The raw key of an existing file with a salt, the passphrase otherwise
    // (a new, empty or unreadable file, or an in-memory database).
    static QByteArray keyTextForFile(const QString &path, const QByteArray &passphrase);
    // The page key for the passphrase and salt, as the library derives it.
    static QByteArray derivedKey(const QByteArray &passphrase, const QByteArray &salt);
};
