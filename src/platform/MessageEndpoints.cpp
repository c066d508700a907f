#include "platform/MessageEndpoints.h"

#include "platform/MessageFraming.h"
#include "platform/PathRoots.h"
#include "platform/PrivateFolder.h"

#include <QCryptographicHash>

#include <QFile>

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MessageEndpoints {
namespace {

// A name of any length or content becomes a short file name of fixed length,
// so that the socket path fits however long the login name is.
QString fileNameFor(const QString &name)
{
    const QByteArray digest = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("m-") + QString::fromLatin1(digest.toHex().left(24));
}

}  // namespace

// Short names, so that a socket path fits below a home folder of some 55 characters
// even in the fallback runtime root.
QString folder() { return PrivateFolder::runtimeRoot() + QStringLiteral("/txv-msg"); }

std::optional<QString> socketPath(const QString &name, QString *error)
{
    if (name.isEmpty()) {
        *error = QStringLiteral("an endpoint needs a name");
        return std::nullopt;
    }
    const QString path = folder() + '/' + fileNameFor(name);
    if (QFile::encodeName(path).size() >= qsizetype(sizeof(sockaddr_un::sun_path))) {
        *error = QStringLiteral("the endpoint path %1 is too long for a local socket").arg(path);
        return std::nullopt;
    }
    if (!PrivateFolder::ensure(folder(), error))
        return std::nullopt;
    return path;
}

QString lockPath(const QString &socketPath) { return socketPath + QStringLiteral(".lock"); }

sockaddr_un socketAddress(const QString &socketPath)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(socketPath);
    std::memcpy(address.sun_path, native.constData(),
                size_t(qMin(native.size(), qsizetype(sizeof(address.sun_path) - 1))));
    return address;
}

}  // namespace MessageEndpoints
