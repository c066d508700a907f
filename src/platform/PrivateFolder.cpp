#include "platform/PrivateFolder.h"

#include "platform/ErrorSlot.h"
#include "platform/PathRoots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace PrivateFolder {
namespace {

constexpr mode_t kPrivateMode = 0700;

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

// Makes the folder when missing; then it must be a folder (not a link) of this
// user. A private one is closed to others; a shared root may not be written by them.
bool ensureOwnFolder(const QString &path, bool makePrivate, QString *error)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), kPrivateMode) != 0 && errno != EEXIST) {
        ErrorSlot::fill(error, QStringLiteral("cannot create %1: %2").arg(path, systemError()));
        return false;
    }
    struct stat info
    {};
    if (::lstat(native.constData(), &info) != 0) {
        ErrorSlot::fill(error, QStringLiteral("cannot inspect %1: %2").arg(path, systemError()));
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        ErrorSlot::fill(error, QStringLiteral("%1 is not a folder").arg(path));
        return false;
    }
    if (info.st_uid != ::geteuid()) {
        ErrorSlot::fill(error, QStringLiteral("%1 belongs to another user").arg(path));
        return false;
    }
    if (makePrivate && (info.st_mode & 077) != 0 && ::chmod(native.constData(), kPrivateMode) != 0) {
        ErrorSlot::fill(error, QStringLiteral("cannot make %1 private: %2").arg(path, systemError()));
        return false;
    }
    if (!makePrivate && (info.st_mode & 022) != 0) {
        ErrorSlot::fill(error, QStringLiteral("%1 may be written by other users").arg(path));
        return false;
    }
    return true;
}

bool hasSystemRuntimeRoot() { return !qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"); }

}  // namespace

QString runtimeRoot()
{
    if (hasSystemRuntimeRoot())
        return QDir::cleanPath(qEnvironmentVariable("XDG_RUNTIME_DIR"));
    // Short: message sockets live below it, and a socket's whole path must stay within 107 bytes.
    return PathRoots::userCacheRoot() + QStringLiteral("/txv-run");
}

bool ensure(const QString &path, QString *error)
{
    const QString root = runtimeRoot();
    if (path.startsWith(root + '/')) {
        // Our own fallback root is made private with its parents; the system's is only checked.
        if (!hasSystemRuntimeRoot() && !QDir().mkpath(PathRoots::userCacheRoot())) {
            ErrorSlot::fill(error, QStringLiteral("cannot create %1").arg(PathRoots::userCacheRoot()));
            return false;
        }
        if (!ensureOwnFolder(root, !hasSystemRuntimeRoot(), error))
            return false;
    } else if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        ErrorSlot::fill(error, QStringLiteral("cannot create the folder of %1").arg(path));
        return false;
    }
    return ensureOwnFolder(path, true, error);
}

bool isOwnFolder(const QString &path)
{
    struct stat info
    {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid();
}

QString temporaryFolder() { return PathRoots::temporaryRoot() + QStringLiteral("/tarnixvidezud-%1").arg(::geteuid()); }

std::unique_ptr<QTemporaryDir> makeTemporaryFolder(const QString &prefix)
{
    // The temporary folder is open to every user: when another one holds our
    // folder's name there, the new folder gets a random name of its own beside it.
    const QString root = temporaryFolder();
    const QString pattern = (ensure(root) ? root + '/' : root + '-') + prefix + QStringLiteral("-XXXXXX");
    auto folder = std::make_unique<QTemporaryDir>(pattern);
    return folder->isValid() ? std::move(folder) : nullptr;
}

}  // namespace PrivateFolder
