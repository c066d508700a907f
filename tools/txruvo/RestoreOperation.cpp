#include "txruvo/RestoreOperation.h"

#include "txruvo/Markers.h"

#include "txruvo/FileCopier.h"
#include "txruvo/Posix.h"

#include <QRegularExpression>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct StoredName
{
    QString computerPart;  // "/Office", or empty
    QString folderId;
    QString encName;
    int version = 0;  // 0: the current item
};

std::optional<StoredName> parseStoredName(const QString &line)
{
    static const QRegularExpression versioned(QStringLiteral("^(.+)_QLVER(\\d{3,})$"));
    QStringList parts = line.split('/', Qt::SkipEmptyParts);
    if (parts.size() < 2 || parts.contains(QStringLiteral("..")) || parts.contains(QStringLiteral(".")))
        return std::nullopt;
    StoredName name;
    name.encName = parts.takeLast();
    name.folderId = parts.takeLast();
    name.computerPart = parts.isEmpty() ? QString() : '/' + parts.join('/');
    const QRegularExpressionMatch match = versioned.match(name.encName);
    if (match.hasMatch()) {
        name.encName = match.captured(1);
        name.version = match.captured(2).toInt();
    }
    return name;
}

}  // namespace

RestoreOperation::ComputerFolder::ComputerFolder(const QString &path)
    : layout(path, true)
    , shelf(layout)
    , finder(layout)
{}

class RestoreOperation::Worker : public SessionRun::Worker
{
public:
    explicit Worker(RestoreOperation &operation)
        : mOperation(operation)
        , mLane{DurableBatch(operation.mRun.openCopyBatchRules(operation.mThreads)), {}}
    {}
    std::optional<Stop> handle(const ListEntry &entry) override
    {
        std::optional<Stop> stop = mOperation.restore(entry, mLane);
        if (!stop && mLane.batch.isDue())
            stop = mOperation.flushBatch(mLane);
        return stop;
    }
    std::optional<Stop> finish() override { return mOperation.flushBatch(mLane); }

private:
    RestoreOperation &mOperation;
    Lane mLane;  // dropped with the worker: a cancel or a failure names none of its copies
};

RestoreOperation::RestoreOperation(SessionRun &run)
    : mRun(run)
    , mRelative(!run.commandLine().has(QStringLiteral("--no-relative")))
    , mThreads(SessionRun::copyThreads())
{
    const QStringList &positionals = run.commandLine().positionals();
    mTarget = positionals.last();
    mRoot = RemoteSpec::parse(positionals.at(positionals.size() - 2))->path;
}

int RestoreOperation::run()
{
    if (std::optional<Stop> stop = checkTarget())
        return stop->exitStatus;
    const int status = mRun.forEachEntry(mThreads, [this] { return std::make_unique<Worker>(*this); });
    // Every thread has ended: no content is left to come into these folders.
    finishFolders();
    return status;
}

RestoreOperation::~RestoreOperation()
{
    if (mTargetFd >= 0)
        ::close(mTargetFd);
}

std::optional<SessionRun::Stop> RestoreOperation::flushBatch(Lane &lane) { return mRun.flush(lane.batch, Stop{1}); }

std::optional<SessionRun::Stop> RestoreOperation::checkTarget()
{
    // Only the remote's tail after the data root counts; the data root is the drive.
    const QString dataRoot = folderPath(mRun.dataRoot());
    const QString remote = folderPath(mRoot);
    if (remote != dataRoot && !remote.startsWith(dataRoot + '/'))
        return mRun.fatal(QStringLiteral("txruvo error: invalid path (%1 lies outside %2)").arg(mRoot, dataRoot));
    mRoot = remote;
    mTarget = folderPath(mTarget);
    if (!Posix::makeFolders(mTarget) ||
        (mTargetFd = ::open(Posix::native(mTarget).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) < 0)
        return mRun.fatal(QStringLiteral("txruvo error: unable to create destination path (%1: %2)")
                              .arg(mTarget, Posix::errorText(errno)));
    return std::nullopt;
}

std::optional<SessionRun::Stop> RestoreOperation::restore(const ListEntry &entry, Lane &lane)
{
    const QString line = entry.text();
    if (mRun.failedByScenario(line))
        return std::nullopt;
    const std::optional<StoredName> name = entry.isValidUtf8() ? parseStoredName(line) : std::nullopt;
    if (!name) {
        mRun.report().fileError(line, QStringLiteral("No such file or directory (not a stored item name)"));
        return std::nullopt;
    }
    ComputerFolder &folder = computerFolder(joinPath(mRoot, name->computerPart));
    std::optional<Markers::ItemRecord> marker;
    const std::optional<QString> itemPath = folder.finder.find(name->folderId, name->encName, &marker);
    if (!itemPath) {
        mRun.report().fileError(line, QStringLiteral("No such file or directory"));
        return std::nullopt;
    }
    const QString relativePath = folder.layout.relativePathOf(*itemPath);
    const QString userPath = folder.layout.userPathOf(relativePath);
    const QString versionsPath = folder.shelf.versionsPathOf(relativePath, marker);
    const int current = folder.shelf.count(versionsPath) + 1;
    const int version = name->version == 0 ? current : name->version;
    if (version < 1 || version > current) {
        mRun.report().fileError(line, QStringLiteral("No such file or directory (no version %1)").arg(version));
        return std::nullopt;
    }
    const QString sourcePath = version == current ? *itemPath : folder.layout.versionPath(versionsPath, version);
    const QString targetPath = joinPath(mTarget, mRelative ? userPath : Posix::fileName(userPath));

    auto copier = std::make_unique<FileCopier>(mRun.driveBudget());
    copier->setAccessTime({0, UTIME_NOW});  // the stored copy's carries the engine's own stamp
    struct stat source
    {};
    if (!copier->openSource(sourcePath, &source))
        return mRun.copyFailed(line, *copier);
    ProgressLine file{};
    file.offset = quint64(source.st_size);
    file.size = quint64(source.st_size);
    file.percent = 100;
    file.fileVersion = version;
    file.fileName = userPath;

    struct stat existing
    {};
    const bool exists = Posix::lstatPath(targetPath, &existing);
    if (exists && Posix::sameItemContent(sourcePath, source, targetPath, existing)) {
        file.transferType = QStringLiteral("FILE IN SYNC");
        mRun.report().progress(file, ProgressLine::Kind::Restore, file.size);
        return std::nullopt;
    }
    if (exists && !StoredTree::isItem(existing)) {
        mRun.report().fileError(line,
                                QStringLiteral("Operation not permitted (%1 is not a file or link)").arg(targetPath));
        return std::nullopt;
    }
    const QString targetFolder = Posix::parentOf(targetPath);
    if (targetFolder != lane.lastMadeFolder &&
        !makeTargetFolder(targetFolder, Posix::parentOf(folder.layout.itemPath(relativePath)))) {
        if (errno == ENOSPC)
            return mRun.driveFull();
        mRun.report().fileError(line, errno);
        return std::nullopt;
    }
    lane.lastMadeFolder = targetFolder;  // the items of a folder come together
    file.transferType = exists ? QStringLiteral("INCREMENTAL") : QStringLiteral("FULL");
    const auto besideTarget = [targetFolder] { return Posix::temporaryPath(targetFolder); };
    if (!copier->copyInto({AT_FDCWD, Posix::native(targetFolder)}, besideTarget,
                          mRun.chunkReporter(file, ProgressLine::Kind::Restore)))
        return mRun.copyFailed(line, *copier);
    // Given its real name once its data is on the disk.
    FileCopier *copy = copier.get();
    DurableBatch::Entry pending;
    pending.copy = std::move(copier);
    pending.bytes = file.size;
    pending.commit = [this, copy, line, targetPath] {
        if (copy->commit({AT_FDCWD, Posix::native(targetPath)}))
            return DurableBatch::Outcome::Committed;
        return mRun.copyFailed(line, *copy) ? DurableBatch::Outcome::Stop : DurableBatch::Outcome::Failed;
    };
    pending.report = [this, file] { mRun.report().progress(file, ProgressLine::Kind::Restore); };
    lane.batch.add(std::move(pending), mTargetFd);
    return std::nullopt;
}

RestoreOperation::ComputerFolder &RestoreOperation::computerFolder(const QString &path)
{
    QMutexLocker locker(&mComputerFoldersLock);
    std::shared_ptr<ComputerFolder> &folder = mComputerFolders[path];
    if (!folder)
        folder = std::make_shared<ComputerFolder>(path);
    return *folder;
}

bool RestoreOperation::makeTargetFolder(const QString &targetFolder, const QString &storedFolder)
{
    QStringList made;
    const bool present = Posix::makeFolders(targetFolder, S_IRWXU, &made);
    const int error = errno;
    // The folders made are the target folder and parents of it (the highest
    // first), each standing for the stored folder as many levels up; the
    // folder the highest was made in changed too, unless it is the target.
    QStringList changed = made;
    if (made.isEmpty())
        changed << targetFolder;
    else if (Posix::parentOf(made.first()) != mTarget)
        changed.prepend(Posix::parentOf(made.first()));
    changed.removeAll(mTarget);
    QMutexLocker locker(&mChangedFoldersLock);
    for (const QString &target : std::as_const(changed)) {
        QString stored = storedFolder;
        for (qsizetype level = targetFolder.count('/') - target.count('/'); level > 0; --level)
            stored = Posix::parentOf(stored);
        ChangedFolder &folder = mChangedFolders[target];
        folder.stored = stored;
        folder.made = folder.made || made.contains(target);
    }
    errno = error;
    return present;
}

void RestoreOperation::finishFolders()
{
    // Deepest first: a folder's own mode may keep its owner out, and giving
    // a folder below it its times would not move the folder's own.
    QStringList targets = mChangedFolders.keys();
    std::sort(targets.begin(), targets.end(),
              [](const QString &a, const QString &b) { return a.count('/') > b.count('/'); });
    for (const QString &target : std::as_const(targets)) {
        const ChangedFolder folder = mChangedFolders.value(target);
        std::optional<Markers::FolderAttributes> attributes = Markers::readFolderAttributes(folder.stored);
        struct stat stored
        {};
        // A folder stored by an older engine records nothing: one made takes
        // the stored folder's own mode, and keeps the time of the restore.
        if (!attributes && folder.made && Posix::statPath(folder.stored, &stored))
            attributes = Markers::FolderAttributes{mode_t(stored.st_mode & 07777), {0, UTIME_OMIT}};
        if (!attributes)
            continue;  // a folder made stays private
        const int fd = ::open(Posix::native(target).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const struct timespec times[2] = {{0, UTIME_OMIT}, attributes->modified};
        // A folder that was there keeps its own mode.
        const bool given =
            fd >= 0 && ::futimens(fd, times) == 0 && (!folder.made || ::fchmod(fd, attributes->mode) == 0);
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        // A folder that was there may belong to another user: its time is
        // left as the copies made it.
        if (!given && folder.made)
            mRun.report().fileError(target, error);
    }
}
