#include "session/enumeration/FolderEnumerator.h"

#include "session/enumeration/FolderEntryReader.h"
#include "session/enumeration/folderEnumeratorDelegateProtocol.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <optional>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

QString describeErrno(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The folder that holds the item. A selected link is walked under its own
// path, so its own folder is the parent its paths hang from.
QString holdingFolder(const QString &path) { return QFileInfo(path).path(); }

// A file system of a local disk (a separate /home, a btrfs subvolume) is
// walked like the selection's own; none other (memory, network, pseudo and
// image file systems) is entered. What the folder's file system is, or none when it is a local disk's.
// The folder is looked at without being opened, so that an automount point is not triggered.
std::optional<QString> foreignFileSystem(int parentFd, const char *name)
{
    const int probe = ::openat(parentFd, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct statfs info
    {};
    const bool known = probe >= 0 && ::fstatfs(probe, &info) == 0;
    if (probe >= 0)
        ::close(probe);
    if (!known)
        return QStringLiteral("a file system that cannot be read");
    switch (static_cast<unsigned long>(info.f_type)) {
    case EXT4_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case XFS_SUPER_MAGIC:
    case F2FS_SUPER_MAGIC:
    case 0x3153464aUL:  // jfs
    case REISERFS_SUPER_MAGIC:
    case 0x2fc12fc1UL:  // zfs
    case 0xca451a4eUL:  // bcachefs
        return std::nullopt;
    case TMPFS_MAGIC:
        return QStringLiteral("a memory file system (tmpfs)");
    case NFS_SUPER_MAGIC:
    case 0xFF534D42UL:  // cifs
    case 0xFE534D42UL:  // smb2
        return QStringLiteral("a network file system");
    default:
        return QStringLiteral("a file system of type 0x%1").arg(quint64(info.f_type), 0, 16);
    }
}

}  // namespace

FolderEnumerator::FolderEnumerator(Timings timings)
    : mTimings(timings)
{}

FolderEnumerator::~FolderEnumerator()
{
    stopEnumeration();
    if (mSizeThread.joinable())
        mSizeThread.join();
}

QStringList FolderEnumerator::systemFoldersToSkip()
{
    return {QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev"), QStringLiteral("/run")};
}

void FolderEnumerator::getFolderSize(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (!mEnumerateFolder)
            break;
        if (mDelegate)
            mDelegate->willStartSizeCalculationForFolder(path);
        parentFolderName = holdingFolder(path);
        quint64 size = 0;
        if (QFileInfo(path).isDir()) {
            size = fastFolderSize(path);
            if (!mBackupMode)
                flushBatch();
        } else {
            size = mMeasuresFiles ? quint64(std::max<qint64>(QFileInfo(path).size(), 0)) : 0;
            if (!mBackupMode && mIsBackupOrRestore) {
                mTempFileList.append({path, size});
                flushBatch();
            } else if (mDelegate) {
                mDelegate->didFoundFile(path, size);
            }
        }
        if (mDelegate)
            mDelegate->didCalculateSizeofFolder(path, size);
    }
    if (mDelegate)
        mDelegate->didEndCalculation();
}

void FolderEnumerator::startFolderSizeCalculation(const QStringList &paths)
{
    if (mSizeThread.joinable())
        mSizeThread.join();
    mSizeThread = std::thread([this, paths] { FolderSize(paths); });
}

void FolderEnumerator::FolderSize(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (mDelegate)
            mDelegate->willStartSizeCalculationForFolder(path);
        const quint64 size = QFileInfo(path).isDir() ? fastFolderSize(path) : quint64(QFileInfo(path).size());
        if (mDelegate)
            mDelegate->didCalculateSizeofFolder(path, size);
        if (!mEnumerateFolder)
            return;
        if (mDelegate)
            mDelegate->didCalculateSizeofFolderOfList(size, paths.value(0), this);
    }
    if (mDelegate)
        mDelegate->didEndCalculation();
}

quint64 FolderEnumerator::fastFolderSize(const QString &folder)
{
    if (!mEnumerateFolder)
        return 0;
    // A selected link to a folder is followed; links below it are not.
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT)
            reportError(folder, errno);
        return 0;
    }
    quint64 total = 0;
    struct stat status
    {};
    if (::fstat(fd, &status) == 0) {
        mFolder = folder.endsWith(u'/') ? folder : folder + u'/';
        total = walkFolder(fd, status.st_dev);
    }
    ::close(fd);
    return total;
}

// mFolder names the folder, ending in "/".
quint64 FolderEnumerator::walkFolder(int folderFd, dev_t device)
{
    using Kind = FolderEntryReader::Kind;
    FolderEntryReader reader(folderFd);
    FolderEntryReader::Entry entry;
    quint64 total = 0;
    while (mEnumerateFolder && reader.next(entry)) {
        pauseNowAndThen();
        Kind kind = entry.kind;
        quint64 size = 0;
        if (kind == Kind::Unknown || ((kind == Kind::File || kind == Kind::Link) && mMeasuresFiles)) {
            struct stat status
            {};
            if (::fstatat(folderFd, entry.name, &status, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            kind = S_ISDIR(status.st_mode)   ? Kind::Folder
                   : S_ISREG(status.st_mode) ? Kind::File
                   : S_ISLNK(status.st_mode) ? Kind::Link
                                             : Kind::Other;
            size = mMeasuresFiles ? quint64(status.st_size) : 0;
        }
        if ((kind == Kind::Folder || kind == Kind::File || kind == Kind::Link) &&
            !QUtf8StringView(entry.name).isValidUtf8()) {
            // The engine and the index take names as text: such an item cannot be stored under its own name.
            reportError(pathInFolder(entry.name), kNotUtf8);
        } else if (kind == Kind::Folder) {
            total += enterFolder(folderFd, entry.name, device);
        } else if (kind == Kind::File || kind == Kind::Link) {
            // A link is an item of its own (the engine stores its text), never followed;
            // its size is that of its text. Pipes, sockets and devices hold no data to keep.
            reportFile(pathInFolder(entry.name), size);
            total += size;
        }
    }
    if (reader.error() != 0)
        reportError(mFolder.size() > 1 ? mFolder.chopped(1) : mFolder, reader.error());
    return total;
}

// A skipped folder is passed over in silence; a mount of anything but a
// local disk's file system is passed over and told to the delegate.
quint64 FolderEnumerator::enterFolder(int parentFd, const char *name, dev_t device)
{
    const QString path = pathInFolder(name);
    if (mSkippedFolders.contains(path))
        return 0;
    struct stat status
    {};
    if (::fstatat(parentFd, name, &status, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT) != 0)
        return 0;
    if (status.st_dev != device) {
        if (const std::optional<QString> kind = foreignFileSystem(parentFd, name)) {
            if (mDelegate)
                mDelegate->didSkipMountPoint(path, QStringLiteral("%1 is mounted here").arg(*kind));
            return 0;
        }
    }
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT)
            reportError(path, errno);
        return 0;
    }
    const QString parent = std::exchange(mFolder, path + u'/');
    const quint64 total = walkFolder(fd, status.st_dev);
    mFolder = parent;
    ::close(fd);
    return total;
}

// The path of an entry of mFolder, decoded as QFile::decodeName does, in one allocation.
QString FolderEnumerator::pathInFolder(const char *name)
{
    const QByteArrayView encoded(name);
    QString path(mFolder.size() + mNameDecoder.requiredSpace(encoded.size()), Qt::Uninitialized);
    QChar *end = std::copy(mFolder.cbegin(), mFolder.cend(), path.data());
    end = mNameDecoder.appendToBuffer(end, encoded);
    path.truncate(end - path.constData());
    return path;
}

void FolderEnumerator::reportError(const QString &path, int error) { reportError(path, describeErrno(error)); }

void FolderEnumerator::reportError(const QString &path, const QString &reason)
{
    if (mDelegate)
        mDelegate->didEncounterError(path, reason);
}

void FolderEnumerator::reportFile(const QString &path, quint64 size)
{
    if (!mBackupMode && mIsBackupOrRestore) {
        mTempFileList.append({path, size});
        if (mTempFileList.size() >= kBatchSize)
            flushBatch();
    } else if (mDelegate) {
        mDelegate->didFoundFile(path, size);
    }
}

void FolderEnumerator::flushBatch()
{
    const FoundFiles batch = std::exchange(mTempFileList, {});
    if (mDelegate)
        mDelegate->didEndFolderEnumeration(batch, parentFolderName);
}

void FolderEnumerator::pauseNowAndThen()
{
    if (mEntriesSincePause++ % kEntriesBetweenPauses != 0 || mTimings.walkPause.count() <= 0)
        return;
    const Clock::time_point from = Clock::now();
    std::this_thread::sleep_for(mTimings.walkPause);
    if (mPauseListener)
        mPauseListener(from, Clock::now());
}
