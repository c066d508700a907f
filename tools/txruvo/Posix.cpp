#include "txruvo/Posix.h"

#include "txruvo/CommandLine.h"
#include "txruvo/DriveLayout.h"

#include <QAtomicInt>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

QString Posix::errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool Posix::statPath(const QString &path, struct stat *status) { return ::stat(native(path).constData(), status) == 0; }

bool Posix::lstatPath(const QString &path, struct stat *status)
{
    return ::lstat(native(path).constData(), status) == 0;
}

bool Posix::exists(const QString &path)
{
    struct stat status
    {};
    return lstatPath(path, &status);
}

bool Posix::sameContentStamp(const struct stat &a, const struct stat &b)
{
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

std::optional<QByteArray> Posix::readLink(const QString &path) { return readLinkAt(AT_FDCWD, native(path)); }

std::optional<QByteArray> Posix::readLinkAt(int folderFd, const QByteArray &name)
{
    QByteArray text(PATH_MAX, Qt::Uninitialized);
    const ssize_t size = ::readlinkat(folderFd, name.constData(), text.data(), size_t(text.size()));
    if (size < 0 || size == text.size())
        return std::nullopt;
    text.truncate(size);
    return text;
}

bool Posix::sameItemContent(const QString &pathA, const struct stat &a, const QString &pathB, const struct stat &b)
{
    return sameItemContent(FolderEntry{AT_FDCWD, native(pathA)}, a, FolderEntry{AT_FDCWD, native(pathB)}, b);
}

bool Posix::sameItemContent(const FolderEntry &entryA, const struct stat &a, const FolderEntry &entryB,
                            const struct stat &b)
{
    if (S_ISREG(a.st_mode) && S_ISREG(b.st_mode))
        return sameContentStamp(a, b);
    if (!S_ISLNK(a.st_mode) || !S_ISLNK(b.st_mode) || a.st_size != b.st_size)
        return false;
    const std::optional<QByteArray> textA = readLinkAt(entryA.folderFd, entryA.name);
    return textA && textA == readLinkAt(entryB.folderFd, entryB.name);
}

namespace {
constexpr qsizetype kSmallFileBytes = 4096;
}

std::optional<QByteArray> Posix::readSmall(const QString &path)
{
    return readSmall(FolderEntry{AT_FDCWD, native(path)});
}

bool Posix::writeSmall(const QString &path, const QByteArray &content)
{
    return writeSmall(FolderEntry{AT_FDCWD, native(path)}, content);
}

std::optional<QByteArray> Posix::readSmall(const FolderEntry &entry)
{
    const int fd = ::openat(entry.folderFd, entry.name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    // Markers are far smaller than this; one read is the common case.
    QByteArray content(kSmallFileBytes, Qt::Uninitialized);
    qsizetype size = 0;
    ssize_t got;
    while ((got = ::read(fd, content.data() + size, size_t(content.size() - size))) > 0) {
        size += got;
        if (size < content.size())
            break;
        content.resize(content.size() * 2);
    }
    ::close(fd);
    if (got < 0)
        return std::nullopt;
    content.truncate(size);
    return content;
}

bool Posix::writeSmall(const FolderEntry &entry, const QByteArray &content, const struct timespec *modified)
{
    const int fd = ::openat(entry.folderFd, entry.name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const struct timespec times[2] = {{0, UTIME_OMIT}, modified ? *modified : timespec{0, UTIME_NOW}};
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size() &&
                         (!modified || ::futimens(fd, times) == 0);
    const int saved = errno;
    const bool closed = ::close(fd) == 0;
    errno = written ? errno : saved;
    return written && closed;
}

bool Posix::makeFolders(const QString &path, mode_t mode, QStringList *made)
{
    const QByteArray nativePath = native(path);
    const auto makeOne = [&] {
        if (::mkdir(nativePath.constData(), mode) != 0)
            return errno == EEXIST;
        if (made)
            *made << path;
        return true;
    };
    if (makeOne())
        return true;
    if (errno != ENOENT)
        return false;
    const QString parent = parentOf(path);
    if (parent == path || !makeFolders(parent, mode, made))
        return false;
    return makeOne();
}

bool Posix::linkOrMove(const QString &from, const QString &to)
{
    if (::link(native(from).constData(), native(to).constData()) == 0)
        return true;
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP && errno != EXDEV && errno != EMLINK)
        return false;
    return ::rename(native(from).constData(), native(to).constData()) == 0;
}

qsizetype Posix::openFileLimit()
{
    struct rlimit limit
    {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 1024;
    if (limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
        ::getrlimit(RLIMIT_NOFILE, &limit);
    }
    return qsizetype(std::min<rlim_t>(limit.rlim_cur, rlim_t(1) << 30));
}

QString Posix::temporaryPath(const QString &folder)
{
    static const qint64 processId = ::getpid();
    static QAtomicInt counter;
    return joinPath(folder, QStringLiteral("%1%2-%3.part")
                                .arg(QLatin1String(DriveLayout::kTemporaryPrefix))
                                .arg(processId)
                                .arg(counter.fetchAndAddRelaxed(1)));
}

QStringList Posix::namesIn(const QString &folder)
{
    QStringList names;
    DIR *listing = ::opendir(native(folder).constData());
    if (!listing)
        return names;
    while (const dirent *entry = ::readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names << QFile::decodeName(entry->d_name);
    }
    ::closedir(listing);
    return names;
}

QString Posix::fileName(const QString &path) { return path.mid(path.lastIndexOf('/') + 1); }

QString Posix::parentOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}
