#include "platform/MessageEndpoints.h"

#include "platform/MessageFraming.h"
#include "platform/PathRoots.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MessageEndpoints {
namespace {

constexpr mode_t kPrivateFolderMode = 0700;

using MessageFraming::systemError;

// Makes the folder when it is missing; then it must be a folder (not a link)
// of this user that no other user may write to.
bool ensureOwnFolder(const QString &path, bool makePrivate, QString *error)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), kPrivateFolderMode) != 0 && errno != EEXIST) {
        *error = QStringLiteral("cannot create %1: %2").arg(path, systemError());
        return false;
    }
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0) {
        *error = QStringLiteral("cannot inspect %1: %2").arg(path, systemError());
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        *error = QStringLiteral("%1 is not a folder").arg(path);
        return false;
    }
    if (info.st_uid != ::geteuid()) {
        *error = QStringLiteral("%1 belongs to another user").arg(path);
        return false;
    }
    if (makePrivate && (info.st_mode & 077) != 0 && ::chmod(native.constData(), kPrivateFolderMode) != 0) {
        *error = QStringLiteral("cannot make %1 private: %2").arg(path, systemError());
        return false;
    }
    if (!makePrivate && (info.st_mode & 022) != 0) {
        *error = QStringLiteral("%1 may be written by other users").arg(path);
        return false;
    }
    return true;
}

bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && !name.startsWith('.') && !name.contains('/') && !name.contains(QChar(0));
}

}  // namespace

QString folder() { return PathRoots::userRuntimeRoot() + QStringLiteral("/tarnixvidezud-messages"); }

std::optional<QString> socketPath(const QString &name, QString *error)
{
    if (!isPlainFileName(name)) {
        *error = QStringLiteral("\"%1\" is not a valid endpoint name").arg(name);
        return std::nullopt;
    }
    const QString path = folder() + '/' + name;
    if (QFile::encodeName(path).size() >= qsizetype(sizeof(sockaddr_un::sun_path))) {
        *error = QStringLiteral("the endpoint path %1 is too long for a local socket").arg(path);
        return std::nullopt;
    }
    if (!ensureOwnFolder(PathRoots::userRuntimeRoot(), false, error) || !ensureOwnFolder(folder(), true, error))
        return std::nullopt;
    return path;
}

QString lockPath(const QString &socketPath) { return socketPath + QStringLiteral(".lock"); }

sockaddr_un socketAddress(const QString &socketPath)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(socketPath);
    std::memcpy(address.sun_path, native.constData(), size_t(qMin(native.size(), qsizetype(sizeof(address.sun_path) - 1))));
    return address;
}

}  // namespace MessageEndpoints
