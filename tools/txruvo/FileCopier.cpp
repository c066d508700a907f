#include "txruvo/FileCopier.h"

#include "txruvo/Posix.h"

#include <algorithm>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <unistd.h>

FileCopier::FileCopier(DriveBudget &budget)
    : mBudget(budget)
{}

FileCopier::~FileCopier()
{
    discard();
    if (mSource >= 0)
        ::close(mSource);
}

bool FileCopier::openSource(const QString &sourcePath, struct stat *status)
{
    return openSourceAt(AT_FDCWD, Posix::native(sourcePath), status);
}

bool FileCopier::openSourceAt(int folderFd, const QByteArray &name, struct stat *status)
{
    mSource = ::openat(folderFd, name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    if (mSource < 0 && errno == ELOOP &&
        ::fstatat(folderFd, name.constData(), &mSourceStatus, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(mSourceStatus.st_mode)) {
        mLinkText = Posix::readLinkAt(folderFd, name);
        if (!mLinkText)
            return fail(Failure::Source, errno);
        *status = mSourceStatus;
        return true;
    }
    if (mSource < 0 || ::fstat(mSource, &mSourceStatus) != 0)
        return fail(Failure::Source, errno);
    *status = mSourceStatus;
    return true;
}

bool FileCopier::copyTo(const QString &temporaryPath, const ChunkCallback &onChunk)
{
    if (mLinkText) {
        if (!reserveLink(onChunk))
            return false;
        if (!makeAt({AT_FDCWD, Posix::native(temporaryPath)}))
            return failDestination(errno);
        mTemporaryPath = temporaryPath;
        return true;
    }
    const int destination =
        ::open(Posix::native(temporaryPath).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (destination < 0)
        return failDestination(errno);
    mTemporaryPath = temporaryPath;
    bool ok = copyContent(destination, onChunk);
    if (::close(destination) != 0 && ok)
        ok = failDestination(errno);
    if (!ok)
        discard();
    return ok;
}

bool FileCopier::copyInto(const Posix::FolderEntry &folder, TemporaryName temporaryName, const ChunkCallback &onChunk)
{
    mTemporaryName = std::move(temporaryName);
    if (mLinkText) {
        mLinkAtCommit = reserveLink(onChunk);
        return mLinkAtCommit;
    }
    const int destination = ::openat(folder.folderFd, folder.name.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (destination < 0 && (errno == EOPNOTSUPP || errno == EISDIR))
        return copyTo(mTemporaryName(), onChunk);
    if (destination < 0)
        return failDestination(errno);
    mUnnamed = destination;
    if (!copyContent(destination, onChunk)) {
        discard();
        return false;
    }
    return true;
}

bool FileCopier::copyContent(int destination, const ChunkCallback &onChunk)
{
    bool ok = false;
    quint64 done = 0;
    for (int attempt = 1; attempt <= kCopyAttempts; ++attempt) {
        if (!copyBytes(destination, onChunk, &done))
            break;
        // A file rewritten while it was copied would be stored torn, under the time seen at open.
        if (sourceUnchanged(destination)) {
            ok = true;
            break;
        }
        if (mFailure != Failure::None)
            break;
        if (attempt == kCopyAttempts)
            fail(Failure::Changed, EBUSY);
    }
    if (ok) {
        const struct timespec times[2] = {mAccessTime.value_or(mSourceStatus.st_atim), mSourceStatus.st_mtim};
        if (::fchmod(destination, mSourceStatus.st_mode & 07777) != 0 || ::futimens(destination, times) != 0)
            ok = failDestination(errno);
    }
    ::close(mSource);
    mSource = -1;
    return ok;
}

bool FileCopier::copyBytes(int destination, const ChunkCallback &onChunk, quint64 *done)
{
    // Copied as it was when opened: its size and time are what the copy records.
    const quint64 size = quint64(mSourceStatus.st_size);
    for (quint64 copiedOfFile = 0; copiedOfFile < size;) {
        qint64 copied = 0;
        if (!copyChunk(destination, size - copiedOfFile, &copied))
            return false;
        if (copied == 0)
            break;  // it shrank meanwhile
        copiedOfFile += quint64(copied);
        *done += quint64(copied);
        // A large copy's data starts for the drive chunk by chunk while the
        // rest is copied, so the sync that makes its batch durable waits
        // for little more than the last chunk. Only a hint: that sync checks.
        if (size > quint64(kChunkBytes))
            ::sync_file_range(destination, off_t(copiedOfFile) - copied, copied, SYNC_FILE_RANGE_WRITE);
        if (onChunk && !onChunk(*done))
            return fail(Failure::Cancelled, 0);
    }
    return true;
}

bool FileCopier::sourceUnchanged(int destination)
{
    struct stat now
    {};
    if (::fstat(mSource, &now) != 0)
        return fail(Failure::Source, errno);
    const auto same = [](const struct timespec &a, const struct timespec &b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    };
    if (now.st_size == mSourceStatus.st_size && same(now.st_mtim, mSourceStatus.st_mtim) &&
        same(now.st_ctim, mSourceStatus.st_ctim))
        return true;
    mSourceStatus = now;
    if (::lseek(mSource, 0, SEEK_SET) < 0)
        return fail(Failure::Source, errno);
    if (::ftruncate(destination, 0) != 0 || ::lseek(destination, 0, SEEK_SET) < 0)
        return failDestination(errno);
    return false;
}

bool FileCopier::reserveLink(const ChunkCallback &onChunk)
{
    const quint64 size = quint64(mLinkText->size());
    if (mBudget.grant(size) < size)
        return fail(Failure::DriveFull, ENOSPC);
    mBudget.spend(size);
    if (onChunk && !onChunk(size))
        return fail(Failure::Cancelled, 0);
    return true;
}

bool FileCopier::makeAt(const Posix::FolderEntry &entry)
{
    if (mLinkText) {
        if (::symlinkat(mLinkText->constData(), entry.folderFd, entry.name.constData()) != 0)
            return false;
        const struct timespec times[2] = {mAccessTime.value_or(mSourceStatus.st_atim), mSourceStatus.st_mtim};
        if (::utimensat(entry.folderFd, entry.name.constData(), times, AT_SYMLINK_NOFOLLOW) == 0)
            return true;
        const int error = errno;
        ::unlinkat(entry.folderFd, entry.name.constData(), 0);
        errno = error;
        return false;
    }
    // An unnamed file is named through its descriptor's entry in /proc.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(mUnnamed);
    return ::linkat(AT_FDCWD, self.constData(), entry.folderFd, entry.name.constData(), AT_SYMLINK_FOLLOW) == 0;
}

bool FileCopier::copyChunk(int destination, quint64 remaining, qint64 *copied)
{
    const qint64 wanted = qint64(mBudget.grant(std::min(quint64(kChunkBytes), remaining)));
    if (wanted == 0)
        return fail(Failure::DriveFull, ENOSPC);
    ssize_t got = -1;
    if (mMethod == Method::CopyRange) {
        got = ::copy_file_range(mSource, nullptr, destination, nullptr, size_t(wanted), 0);
        // Between two file systems (the usual backup drive) the kernel still copies, by sendfile.
        if (got < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
            mMethod = Method::SendFile;
        else if (got < 0)
            return failCopy(errno);
    }
    if (mMethod == Method::SendFile) {
        got = ::sendfile(destination, mSource, nullptr, size_t(wanted));
        if (got < 0 && (errno == EINVAL || errno == ENOSYS))
            mMethod = Method::ReadWrite;
        else if (got < 0)
            return failCopy(errno);
    }
    if (mMethod == Method::ReadWrite && !readWrite(destination, wanted, &got))
        return false;
    mBudget.spend(quint64(got));
    *copied = got;
    return true;
}

bool FileCopier::readWrite(int destination, qint64 wanted, ssize_t *got)
{
    if (mBuffer.isEmpty())
        mBuffer.resize(qsizetype(std::clamp<qint64>(mSourceStatus.st_size, 1, kPlainBufferBytes)));
    *got = ::read(mSource, mBuffer.data(), size_t(std::min<qint64>(wanted, mBuffer.size())));
    if (*got < 0)
        return fail(Failure::Source, errno);
    for (ssize_t written = 0; written < *got;) {
        const ssize_t step = ::write(destination, mBuffer.constData() + written, size_t(*got - written));
        if (step < 0)
            return failCopy(errno);
        written += step;
    }
    return true;
}

bool FileCopier::failCopy(int error)
{
    // A failed kernel copy does not say which side failed; a read of the source tells.
    char probe;
    if (::pread(mSource, &probe, 1, ::lseek(mSource, 0, SEEK_CUR)) < 0)
        return fail(Failure::Source, errno);
    return failDestination(error);
}

bool FileCopier::failDestination(int error)
{
    return fail(error == ENOSPC || error == EDQUOT ? Failure::DriveFull : Failure::Destination, error);
}

bool FileCopier::commit(const Posix::FolderEntry &final)
{
    if (mUnnamed >= 0 || mLinkAtCommit)
        return commitUnnamed(final);
    return rename(final);
}

bool FileCopier::commitUnnamed(const Posix::FolderEntry &final)
{
    if (makeAt(final)) {
        discard();
        return true;
    }
    if (errno != EEXIST)
        return failDestination(errno);
    // What stands there stays whole until one rename replaces it.
    const QString temporaryPath = mTemporaryName();
    if (!makeAt({AT_FDCWD, Posix::native(temporaryPath)}))
        return failDestination(errno);
    discard();
    mTemporaryPath = temporaryPath;
    return rename(final);
}

bool FileCopier::rename(const Posix::FolderEntry &final)
{
    if (::renameat(AT_FDCWD, Posix::native(mTemporaryPath).constData(), final.folderFd, final.name.constData()) != 0)
        return failDestination(errno);
    mTemporaryPath.clear();
    return true;
}

bool FileCopier::fail(Failure failure, int error)
{
    mFailure = failure;
    mError = error;
    return false;
}

void FileCopier::discard()
{
    if (mUnnamed >= 0)
        ::close(mUnnamed);
    mUnnamed = -1;
    mLinkAtCommit = false;
    if (!mTemporaryPath.isEmpty())
        ::unlink(Posix::native(mTemporaryPath).constData());
    mTemporaryPath.clear();
}
