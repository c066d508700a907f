#include "index/sqlite/FMDatabaseKey.h"

#include <QFile>
#include <QHash>

#include <openssl/evp.h>

#include <mutex>

namespace {

std::mutex gKeysLock;
// Salt and passphrase to the raw-key text.
QHash<QByteArray, QByteArray> gKeyTexts;

QByteArray saltOfFile(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray salt = file.read(FMDatabaseKey::kSaltBytes);
    return salt.size() == FMDatabaseKey::kSaltBytes ? salt : QByteArray();
}

}  // namespace

QByteArray FMDatabaseKey::derivedKey(const QByteArray &passphrase, const QByteArray &salt)
{
    QByteArray key(kKeyBytes, '\0');
    if (PKCS5_PBKDF2_HMAC(passphrase.constData(), int(passphrase.size()),
                          reinterpret_cast<const unsigned char *>(salt.constData()), int(salt.size()),
                          kDerivationRounds, EVP_sha1(), kKeyBytes, reinterpret_cast<unsigned char *>(key.data())) != 1)
        return {};
    return key;
}

QByteArray FMDatabaseKey::keyTextForFile(const QString &path, const QByteArray &passphrase)
{
    const QByteArray salt = saltOfFile(path);
    if (salt.isEmpty())
        return passphrase;
    const QByteArray cacheKey = salt + passphrase;
    {
        const std::lock_guard lock(gKeysLock);
        if (const auto known = gKeyTexts.constFind(cacheKey); known != gKeyTexts.cend())
            return *known;
    }
    const QByteArray key = derivedKey(passphrase, salt);
    if (key.isEmpty())
        return passphrase;
    const QByteArray keyText = "x'" + key.toHex() + salt.toHex() + "'";
    const std::lock_guard lock(gKeysLock);
    gKeyTexts.insert(cacheKey, keyText);
    return keyText;
}
