#include "txruvo/BackupOperation.h"

#include "txruvo/BackupWorker.h"
#include "txruvo/Markers.h"
#include "txruvo/Posix.h"
#include "txruvo/StoredNames.h"

#include <algorithm>
#include <cerrno>
#include <thread>

namespace {

bool isBackupMode(const CommandLine &commandLine) { return commandLine.has(QStringLiteral("--relative")); }

QString storageFolder(const SessionRun &run, BackupOperation::Kind kind)
{
    if (kind == BackupOperation::Kind::Logs)
        return joinPath(run.dataRoot(), QLatin1String(DriveLayout::kLogFolderName));
    return run.dataRoot();
}

}  // namespace

BackupOperation::BackupOperation(SessionRun &run, Kind kind)
    : mRun(run)
    , mKind(kind)
    , mKeepVersions(kind == Kind::Items && isBackupMode(run.commandLine()) &&
                    !run.commandLine().has(QStringLiteral("--no-versions")))
    , mRecordsFolders(kind == Kind::Items && run.commandLine().has(QStringLiteral("--chk-cancel")))
    , mLayout(storageFolder(run, kind), kind == Kind::Items && isBackupMode(run.commandLine()))
    , mShelf(mLayout)
    , mStaging(mLayout.computerFolder())
    , mWorkers(SessionRun::copyThreads())
{
    const QStringList &positionals = run.commandLine().positionals();
    mSourceRoot = positionals.size() >= 2 ? positionals.at(positionals.size() - 2) : QStringLiteral("/");
}

QString BackupOperation::storedNameOf(const QString &name, bool atTop) const
{
    if (mKind != Kind::Thumbnails)
        return mLayout.storedNameOf(name, atTop);
    const QString owner = StoredNames::thumbnailOwner(name);
    return owner.isEmpty() ? QString() : mLayout.storedNameOf(owner, atTop) + name.mid(owner.size());
}

int BackupOperation::run()
{
    // The log folder is made on the first upload of a log.
    if (mKind == Kind::Logs && ::mkdir(Posix::native(mLayout.computerFolder()).constData(), 0755) != 0 &&
        errno != EEXIST)
        return mRun
            .fatal(QStringLiteral("txruvo error: unable to create destination path (%1: %2)")
                       .arg(mLayout.computerFolder(), Posix::errorText(errno)))
            .exitStatus;
    if (!mStaging.open()) {
        if (errno == ENOSPC)
            return mRun.driveFull().exitStatus;
        return mRun
            .fatal(QStringLiteral("txruvo error: unable to create destination path (%1: %2)")
                       .arg(joinPath(mLayout.computerFolder(), QLatin1String(StagingArea::kFolderName)),
                            Posix::errorText(errno)))
            .exitStatus;
    }
    return mRun.forEachEntry(mWorkers, [this] { return std::make_unique<BackupWorker>(*this); });
}

std::optional<QString> BackupOperation::folderId(const QString &folder)
{
    // One thread at a time: two threads making one folder's identifier on a
    // drive without hard links could each report their own.
    QMutexLocker locker(&mFolderIdsLock);
    return folderIdLocked(folder);
}

std::optional<QString> BackupOperation::folderIdLocked(const QString &folder)
{
    const auto known = mFolderIds.constFind(folder);
    if (known != mFolderIds.cend())
        return known.value();
    if (folder != mLayout.computerFolder()) {
        if (!folder.startsWith(mLayout.computerFolder() + '/')) {
            errno = EINVAL;
            return std::nullopt;
        }
        if (!folderIdLocked(Posix::parentOf(folder)))
            return std::nullopt;
        // Most folders exist already: looked at first, made only when missing
        // (making takes the parent folder's lock, which the threads share).
        // A link on the drive must not lead the copy out of the stored tree.
        struct stat status
        {};
        bool present = Posix::lstatPath(folder, &status);
        if (!present) {
            if (errno != ENOENT || (::mkdir(Posix::native(folder).constData(), 0755) != 0 && errno != EEXIST))
                return std::nullopt;
            present = Posix::lstatPath(folder, &status);
        }
        if (!present || !S_ISDIR(status.st_mode)) {
            errno = ENOTDIR;
            return std::nullopt;
        }
    }
    const std::optional<Markers::FolderAttributes> attributes =
        mRecordsFolders && folder != mLayout.computerFolder() ? sourceAttributesOf(folder) : std::nullopt;
    std::optional<QString> id = Markers::ensureFolderId(
        folder, [this] { return mStaging.newPath(); }, attributes);
    if (id)
        mFolderIds.insert(folder, *id);
    return id;
}

std::optional<Markers::FolderAttributes> BackupOperation::sourceAttributesOf(const QString &storedFolder) const
{
    const QString userPath = mLayout.userPathOf(mLayout.relativePathOf(storedFolder));
    // A selected link to a folder is restored as the folder it leads to.
    struct stat status
    {};
    if (!Posix::statPath(joinPath(mSourceRoot, userPath), &status) || !S_ISDIR(status.st_mode))
        return std::nullopt;
    return Markers::FolderAttributes{mode_t(status.st_mode & 07777), status.st_mtim};
}
