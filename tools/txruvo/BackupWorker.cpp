#include "txruvo/BackupWorker.h"

#include "txruvo/BackupOperation.h"
#include "txruvo/Markers.h"
#include "txruvo/Posix.h"
#include "txruvo/StoredTree.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QString kNotPermitted = QStringLiteral("Operation not permitted (%1)");

// "." and ".." would lead outside the stored tree.
bool hasDotComponents(QStringView line)
{
    if (!line.contains(u"/."))
        return false;  // the common case, found without splitting the line
    for (const QStringView part : line.tokenize(u'/')) {
        if (part == u"." || part == u"..")
            return true;
    }
    return false;
}

int openFolder(const QString &path, int extraFlags)
{
    return ::open(Posix::native(path).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC | extraFlags);
}

}  // namespace

BackupWorker::BackupWorker(BackupOperation &operation)
    : mOperation(operation)
    , mRun(operation.session())
    // Each copy waiting for its name may keep its folder open too.
    , mBatch(mRun.openCopyBatchRules(2 * operation.workers()))
    , mLines(mRun.report())
    , mMpc(operation.layout().mpc())
{}

BackupWorker::~BackupWorker()
{
    // Copies still waiting are dropped with the batch (a cancel or a failure).
    leaveFolder();
}

std::optional<SessionRun::Stop> BackupWorker::handle(const ListEntry &entry)
{
    const QString line = entry.text();
    if (!entry.isValidUtf8()) {
        mRun.report().fileError(line, kNotPermitted.arg(QStringLiteral("file name is not valid UTF-8")));
        return std::nullopt;
    }
    // A relative line would be stored as if it began with "/" and reported as it stands.
    if (!line.startsWith('/')) {
        mRun.report().fileError(line, kNotPermitted.arg(QStringLiteral("not an absolute path")));
        return std::nullopt;
    }
    if (hasDotComponents(line)) {
        mRun.report().fileError(line, kNotPermitted.arg(QStringLiteral("path holds . or ..")));
        return std::nullopt;
    }
    if (mRun.failedByScenario(line))
        return std::nullopt;

    QString userPath = line.contains(QLatin1String("//")) ? foldSlashes(line) : line;
    if (userPath.size() > 1 && userPath.endsWith('/'))
        userPath.chop(1);
    if (userPath == QLatin1String("/"))
        return storeFolder(userPath);
    const qsizetype slash = userPath.lastIndexOf('/');
    if (QStringView(userPath).left(slash) != mFolder.userPath || mFolder.sourceFd < 0)
        enterFolder(userPath.left(slash));
    if (mFolder.sourceError != 0) {
        mRun.report().fileError(line, mFolder.sourceError);
        return std::nullopt;
    }
    Item item{line, userPath, userPath.mid(slash + 1), {}, {}};
    item.nativeName = Posix::native(item.name);
    if (::fstatat(mFolder.sourceFd, item.nativeName.constData(), &item.source, AT_SYMLINK_NOFOLLOW) != 0) {
        mRun.report().fileError(line, errno);
        return std::nullopt;
    }
    std::optional<Stop> stop;
    if (S_ISDIR(item.source.st_mode))
        stop = storeFolder(userPath);
    else if (!StoredTree::isItem(item.source))
        mRun.report().fileError(line, kNotPermitted.arg(QStringLiteral("not a regular file or link")));
    else
        stop = store(item);
    if (!stop && mBatch.isDue())
        stop = flushBatch();
    return stop;
}

void BackupWorker::enterFolder(const QString &userPath)
{
    leaveFolder();
    mFolder.userPath = userPath;
    mFolder.sourceFd = openFolder(joinPath(mOperation.sourceRoot(), userPath), 0);
    mFolder.sourceError = mFolder.sourceFd < 0 ? errno : 0;
}

BackupWorker::OpenFolder::~OpenFolder() { ::close(fd); }

void BackupWorker::leaveFolder()
{
    if (mFolder.sourceFd >= 0)
        ::close(mFolder.sourceFd);
    mFolder = Folder{};
}

std::optional<SessionRun::Stop> BackupWorker::openStoredFolder()
{
    if (mFolder.storedOpened)
        return std::nullopt;
    mFolder.storedOpened = true;
    const DriveLayout &layout = mOperation.layout();
    mFolder.storedRelativePath = layout.storedPathOf(mFolder.userPath);
    const QString storedPath = folderPath(layout.itemPath(mFolder.storedRelativePath));
    const std::optional<QString> id = mOperation.folderId(storedPath);
    // A link on the drive is never followed.
    mFolder.storedFd = id ? openFolder(storedPath, O_NOFOLLOW) : -1;
    if (mFolder.storedFd < 0) {
        mFolder.storedError = errno == ELOOP ? ENOTDIR : errno;
        return mFolder.storedError == ENOSPC ? std::optional(mRun.driveFull()) : std::nullopt;
    }
    mFolder.stored = std::make_shared<const OpenFolder>(mFolder.storedFd);
    mFolder.id = *id;
    mFolder.versionSlots = mOperation.shelf().slotsInFolder(mFolder.storedRelativePath);
    return std::nullopt;
}

std::optional<SessionRun::Stop> BackupWorker::storeFolder(const QString &userPath)
{
    const DriveLayout &layout = mOperation.layout();
    if (!mOperation.folderId(layout.itemPath(layout.storedPathOf(userPath))) && errno == ENOSPC)
        return mRun.driveFull();
    return std::nullopt;
}

std::optional<SessionRun::Stop> BackupWorker::store(const Item &item)
{
    if (std::optional<Stop> stop = openStoredFolder())
        return stop;
    if (mFolder.storedError != 0) {
        mRun.report().fileError(item.line, mFolder.storedError);
        return std::nullopt;
    }
    const QString storedName = mOperation.storedNameOf(item.name, mFolder.userPath.isEmpty());
    if (storedName.isEmpty()) {
        mRun.report().fileError(item.line, kNotPermitted.arg(QStringLiteral("not a thumbnail")));
        return std::nullopt;
    }
    const Posix::FolderEntry stored{mFolder.storedFd,
                                    storedName == item.name ? item.nativeName : Posix::native(storedName)};
    struct stat storedStatus
    {};
    const bool exists = ::fstatat(stored.folderFd, stored.name.constData(), &storedStatus, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && S_ISDIR(storedStatus.st_mode)) {
        mRun.report().fileError(item.line, kNotPermitted.arg(QStringLiteral("a folder is stored under this name")));
        return std::nullopt;
    }
    const MarkerState marker = markerStateOf(item, stored, exists ? &storedStatus : nullptr);
    if (exists && Posix::sameItemContent({mFolder.sourceFd, item.nativeName}, item.source, stored, storedStatus)) {
        // An unchanged item is left as it is: its marker is written only when
        // it does not hold what it must. Its access time is not touched even
        // when it no longer carries the stamp (the item was read since), so a
        // re-backup of unchanged files writes nothing to the drive.
        if (!marker.current)
            Markers::writeItem(markerOf(stored), marker.content);
        mLines.add(completion(item, marker.encName, QStringLiteral("FILE IN SYNC"), storedName),
                   ProgressLine::Kind::Backup, quint64(item.source.st_size));
        return std::nullopt;
    }
    return copy(item, storedName, exists, marker);
}

BackupWorker::MarkerState BackupWorker::markerStateOf(const Item &item, const Posix::FolderEntry &stored,
                                                      const struct stat *storedStatus) const
{
    // Most markers hold what a first backup of this line would write: the
    // stored copy's access time says so, else the marker's own status.
    MarkerState state;
    state.encName = Markers::encodeName(item.nativeName);
    state.content = Markers::itemContent({state.encName, item.line});
    if (!storedStatus)
        return state;  // a first copy: its marker is written with it
    state.stamped = Markers::stampedFor(*storedStatus, state.content);
    if (state.stamped) {
        state.current = true;
        return state;
    }
    const Posix::FolderEntry marker = markerOf(stored);
    struct stat markerStatus
    {};
    state.current = ::fstatat(marker.folderFd, marker.name.constData(), &markerStatus, AT_SYMLINK_NOFOLLOW) == 0 &&
                    Markers::holdsContent(markerStatus, state.content);
    if (state.current)
        return state;
    // The marker of an item that is not there is a leftover and is replaced.
    if (const std::optional<Markers::ItemRecord> record = Markers::readItem(marker)) {
        // Renamed by the client since, or written without its fingerprint.
        state.ownName = record->encName == state.encName;
        state.encName = record->encName;
        state.content = Markers::itemContent({state.encName, item.line});
        state.current = Markers::itemContent(*record) == state.content && !state.ownName;
    }
    return state;
}

Posix::FolderEntry BackupWorker::markerOf(const Posix::FolderEntry &stored)
{
    return {stored.folderFd, DriveLayout::bookkeepingName(stored.name, DriveLayout::kMarkerSuffix)};
}

std::optional<SessionRun::Stop> BackupWorker::copy(const Item &item, const QString &storedName, bool exists,
                                                   const MarkerState &marker)
{
    mLines.flush();  // the files done so far are not held up by this copy
    auto copier = std::make_unique<FileCopier>(mRun.driveBudget());
    copier->setAccessTime(Markers::accessStamp(marker.content));
    struct stat source = item.source;
    if (!copier->openSourceAt(mFolder.sourceFd, item.nativeName, &source))
        return mRun.copyFailed(item.line, *copier);
    const QString transferType = exists ? QStringLiteral("INCREMENTAL") : QStringLiteral("FULL");
    const QString relativePath = joinPath(mFolder.storedRelativePath, storedName);
    Item copied = item;
    copied.source = source;
    // Unnamed in its own folder: no shared folder for the threads to queue
    // on, and a run killed before the copy is named leaves nothing behind.
    // Any name it takes on the way is in the staging folder.
    StagingArea &staging = mOperation.staging();
    if (!copier->copyInto(
            {mFolder.storedFd, "."}, [&staging] { return staging.newPath(); },
            mRun.chunkReporter(completion(copied, marker.encName, transferType, storedName),
                               ProgressLine::Kind::Backup)))
        return mRun.copyFailed(item.line, *copier);
    // A source rewritten during the copy was copied again: the line tells what was stored.
    copied.source = copier->sourceStatus();
    source = copied.source;
    const ProgressLine done = completion(copied, marker.encName, transferType, storedName);

    // Given its real name once its data is on the drive, in the folder as it was opened.
    FileCopier *copy = copier.get();
    const bool shelve = exists && mOperation.keepsVersions();
    DurableBatch::Entry entry;
    entry.copy = std::move(copier);
    entry.bytes = quint64(source.st_size);
    entry.commit = [this, copy, line = item.line, folder = mFolder.stored, name = Posix::native(storedName),
                    relativePath, shelve, markerContent = marker.content, markerCurrent = marker.current] {
        const Posix::FolderEntry stored{folder->fd, name};
        if (shelve && mOperation.shelf().shelve(relativePath, markerContent) < 0) {
            // The stored copy stays as it was; the new one is dropped with the batch.
            if (errno == ENOSPC) {
                mCommitStop = mRun.driveFull();
                return DurableBatch::Outcome::Stop;
            }
            mRun.report().fileError(line, errno);
            return DurableBatch::Outcome::Failed;
        }
        if (!copy->commit(stored)) {
            mCommitStop = mRun.copyFailed(line, *copy);
            return mCommitStop ? DurableBatch::Outcome::Stop : DurableBatch::Outcome::Failed;
        }
        if (!markerCurrent && !Markers::writeItem(markerOf(stored), markerContent)) {
            const int error = errno;
            // The copy's stamp must not vouch for a marker that is not there.
            Markers::stampItem(stored, QByteArray());
            if (error == ENOSPC) {
                mCommitStop = mRun.driveFull();
                return DurableBatch::Outcome::Stop;
            }
        }
        return DurableBatch::Outcome::Committed;
    };
    entry.report = [this, done, relativePath] {
        ProgressLine line = done;
        line.fileVersion = mOperation.shelf().count(relativePath) + 1;  // the version it became
        mLines.add(line, ProgressLine::Kind::Backup);
    };
    mBatch.add(std::move(entry), mOperation.staging().folderFd());
    return std::nullopt;
}

std::optional<SessionRun::Stop> BackupWorker::finish()
{
    const std::optional<Stop> stop = flushBatch();
    mLines.flush();
    return stop;
}

std::optional<SessionRun::Stop> BackupWorker::flushBatch() { return mRun.flush(mBatch, mCommitStop); }

ProgressLine BackupWorker::completion(const Item &item, const QString &encName, const QString &transferType,
                                      const QString &storedName) const
{
    const quint64 size = quint64(item.source.st_size);
    ProgressLine progress{};
    progress.offset = size;
    progress.size = size;
    progress.percent = 100;
    progress.transferType = transferType;
    progress.folderId = mFolder.id;
    progress.mpc = mMpc;
    progress.encName = encName;
    progress.fileVersion = mFolder.versionSlots.value(DriveLayout::versionBaseName(storedName)) + 1;
    progress.fileName = item.line;
    return progress;
}
