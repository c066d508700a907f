#include "txruvo/BackupOperation.h"

#include "txruvo/Markers.h"
#include "txruvo/Posix.h"
#include "txruvo/StoredTree.h"

#include <algorithm>
#include <cerrno>
#include <thread>

namespace {

// Copies run on a few threads: creating files is mostly waiting on the file
// system, which several threads can share.
constexpr int kMaxWorkers = 4;

bool isBackupMode(const CommandLine &commandLine)
{
    return commandLine.has(QStringLiteral("--relative"));
}

// "." and ".." would lead outside the stored tree.
bool hasDotComponents(const QString &line)
{
    const QStringList parts = line.split('/');
    return parts.contains(QStringLiteral(".")) || parts.contains(QStringLiteral(".."));
}

}  // namespace

BackupOperation::BackupOperation(SessionRun &run)
    : mRun(run)
    , mKeepVersions(isBackupMode(run.commandLine()) && !run.commandLine().has(QStringLiteral("--no-versions")))
    , mLayout(run.dataRoot(), isBackupMode(run.commandLine()))
    , mShelf(mLayout)
{
    const QStringList &positionals = run.commandLine().positionals();
    mSourceRoot = positionals.size() >= 2 ? positionals.at(positionals.size() - 2) : QStringLiteral("/");
}

int BackupOperation::run()
{
    const int workers = std::min(kMaxWorkers, std::max(1, int(std::thread::hardware_concurrency())));
    return mRun.forEachEntry(workers, [this](const ListEntry &entry) { return backUp(entry); });
}

std::optional<SessionRun::Stop> BackupOperation::backUp(const ListEntry &entry)
{
    const QString &line = entry.text;
    if (!entry.validUtf8) {
        mRun.report().fileError(line, QStringLiteral("Operation not permitted (file name is not valid UTF-8)"));
        return std::nullopt;
    }
    if (hasDotComponents(line)) {
        mRun.report().fileError(line, QStringLiteral("Operation not permitted (path holds . or ..)"));
        return std::nullopt;
    }
    if (mRun.failedByScenario(line))
        return std::nullopt;

    const QString relativePath = foldSlashes('/' + line);
    const QString sourcePath = joinPath(mSourceRoot, line);
    struct stat source {};
    if (!Posix::lstatPath(sourcePath, &source)) {
        mRun.report().fileError(line, errno);
        return std::nullopt;
    }
    if (S_ISDIR(source.st_mode)) {
        if (!folderId(mLayout.itemPath(mLayout.storedPathOf(relativePath))))
            return errno == ENOSPC ? std::optional(mRun.driveFull()) : std::nullopt;
        return std::nullopt;
    }
    if (!StoredTree::isItem(source)) {
        mRun.report().fileError(line, QStringLiteral("Operation not permitted (not a regular file or link)"));
        return std::nullopt;
    }
    return store(line, sourcePath, relativePath, source);
}

std::optional<SessionRun::Stop> BackupOperation::store(const QString &line, const QString &sourcePath,
                                                       const QString &userPath, struct stat source)
{
    const QString relativePath = mLayout.storedPathOf(userPath);
    const QString itemPath = mLayout.itemPath(relativePath);
    const QString folder = Posix::parentOf(itemPath);
    const std::optional<QString> id = folderId(folder);
    if (!id) {
        if (errno == ENOSPC)
            return mRun.driveFull();
        mRun.report().fileError(line, errno);
        return std::nullopt;
    }
    struct stat stored {};
    const bool exists = Posix::lstatPath(itemPath, &stored);
    // The marker of an item that is not there is a leftover and is replaced.
    const QString markerPath = DriveLayout::markerPath(itemPath);
    const std::optional<Markers::ItemRecord> marker = exists ? Markers::readItem(markerPath) : std::nullopt;
    const Markers::ItemRecord record{marker ? marker->encName : Markers::encodeName(Posix::fileName(userPath)),
                                     line};
    const QByteArray markerContent = Markers::itemContent(record);
    const bool markerCurrent = marker && Markers::itemContent(*marker) == markerContent;
    if (exists && S_ISDIR(stored.st_mode)) {
        mRun.report().fileError(line, QStringLiteral("Operation not permitted (a folder is stored under this name)"));
        return std::nullopt;
    }
    if (exists && Posix::sameItemContent(sourcePath, source, itemPath, stored)) {
        if (!markerCurrent)
            Posix::writeSmall(markerPath, markerContent);
        mRun.report().progress(completion(line, *id, record.encName, quint64(source.st_size), QStringLiteral("FILE IN SYNC"),
                                 relativePath),
                      ProgressLine::Kind::Backup, quint64(source.st_size));
        return std::nullopt;
    }

    // Opened only now: most files of a repeated backup are unchanged.
    FileCopier copier(mRun.driveBudget());
    if (!copier.openSource(sourcePath, &source))
        return mRun.copyFailed(line, copier);
    const QString transferType = exists ? QStringLiteral("INCREMENTAL") : QStringLiteral("FULL");
    const ProgressLine file = completion(line, *id, record.encName, quint64(source.st_size), transferType,
                                         relativePath);
    if (!copier.copyTo(Posix::temporaryPath(folder), mRun.chunkReporter(file, ProgressLine::Kind::Backup)))
        return mRun.copyFailed(line, copier);
    if (exists && mKeepVersions && mShelf.shelve(relativePath, markerContent) < 0) {
        // The stored copy stays as it was; the new one is dropped with the copier.
        if (errno == ENOSPC)
            return mRun.driveFull();
        mRun.report().fileError(line, errno);
        return std::nullopt;
    }
    if (!copier.commit(itemPath))
        return mRun.copyFailed(line, copier);
    if (!markerCurrent && !Posix::writeSmall(markerPath, markerContent) && errno == ENOSPC)
        return mRun.driveFull();
    mRun.report().progress(completion(line, *id, record.encName, quint64(source.st_size), transferType, relativePath),
                  ProgressLine::Kind::Backup);
    return std::nullopt;
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
        if (::mkdir(Posix::native(folder).constData(), 0755) != 0 && errno != EEXIST)
            return std::nullopt;
        // A link on the drive must not lead the copy out of the stored tree.
        struct stat status {};
        if (!Posix::lstatPath(folder, &status) || !S_ISDIR(status.st_mode)) {
            errno = ENOTDIR;
            return std::nullopt;
        }
    }
    std::optional<QString> id = Markers::ensureFolderId(folder);
    if (id)
        mFolderIds.insert(folder, *id);
    return id;
}

ProgressLine BackupOperation::completion(const QString &line, const QString &folderId, const QString &encName,
                                         quint64 size, const QString &transferType, const QString &relativePath) const
{
    ProgressLine progress{};
    progress.offset = size;
    progress.size = size;
    progress.percent = 100;
    progress.transferType = transferType;
    progress.folderId = folderId;
    progress.mpc = mLayout.mpc();
    progress.encName = encName;
    progress.fileVersion = mShelf.count(relativePath) + 1;
    progress.fileName = line;
    return progress;
}
