#include "session/enumeration/FolderEnumerator.h"

#include "session/enumeration/folderEnumeratorDelegateProtocol.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString describeErrno(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The folder that holds the item; for a link, the folder that holds its target.
QString holdingFolder(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return QFileInfo(info.canonicalFilePath()).path();
    return info.path();
}

}  // namespace

FolderEnumerator::FolderEnumerator(Timings timings) : mTimings(timings) {}

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
            size = quint64(std::max<qint64>(QFileInfo(path).size(), 0));
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
        if (errno != ENOENT && mDelegate)
            mDelegate->didEncounterError(folder, describeErrno(errno));
        return 0;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        ::close(fd);
        return 0;
    }
    return walkFolder(fd, folder, status.st_dev);
}

// Takes ownership of folderFd.
quint64 FolderEnumerator::walkFolder(int folderFd, const QString &folderPath, dev_t device)
{
    DIR *folder = ::fdopendir(folderFd);
    if (!folder) {
        ::close(folderFd);
        return 0;
    }
    const QString prefix = folderPath.endsWith(u'/') ? folderPath : folderPath + u'/';
    quint64 total = 0;
    while (mEnumerateFolder) {
        errno = 0;
        const dirent *entry = ::readdir(folder);
        if (!entry) {
            if (errno != 0 && mDelegate)
                mDelegate->didEncounterError(folderPath, describeErrno(errno));
            break;
        }
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        pauseNowAndThen();
        struct stat status {};
        if (::fstatat(folderFd, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const QString path = prefix + QFile::decodeName(name);
        if (S_ISDIR(status.st_mode)) {
            if (status.st_dev != device || mSkippedFolders.contains(path))
                continue;
            const int childFd = ::openat(folderFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (childFd < 0) {
                if (errno != ENOENT && mDelegate)
                    mDelegate->didEncounterError(path, describeErrno(errno));
                continue;
            }
            total += walkFolder(childFd, path, device);
        } else if (S_ISREG(status.st_mode)) {
            reportFile(path, quint64(status.st_size));
            total += quint64(status.st_size);
        }
    }
    ::closedir(folder);
    return total;
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
    if (mEntriesSincePause++ % kEntriesBetweenPauses == 0 && mTimings.walkPause.count() > 0)
        std::this_thread::sleep_for(mTimings.walkPause);
}
