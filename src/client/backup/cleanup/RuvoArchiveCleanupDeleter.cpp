#include "client/backup/cleanup/RuvoArchiveCleanupDeleter.h"

#include "engine/controllers/RuvoDeleteController.h"

#include <QMap>

namespace {

const QChar kPathSeparator = QLatin1Char('/');

}  // namespace

RuvoArchiveCleanupDeleter::RuvoArchiveCleanupDeleter(RuvoDeleteController &controller,
                                                     std::function<void(RuvoDeleteController &)> prepare)
    : mController(controller)
    , mPrepare(std::move(prepare))
{}

RuvoArchiveCleanupDeleter::~RuvoArchiveCleanupDeleter()
{
    // The controller outlives this page: nothing of a deletion may reach it afterwards.
    if (mEvents) {
        mController.setDelegate(nullptr);
        mController.cancelDelete();
    }
}

void RuvoArchiveCleanupDeleter::startDelete(const QString &accountFolder, const QString &computerFolder,
                                            const QStringList &items, ArchiveCleanupDeleteEvents &events)
{
    if (mController.isRunning()) {
        // The browser's delete holds the controller.
        events.deleteDidFailWithError(QStringLiteral("Unable to perform the delete operation. Try later."));
        return;
    }
    mEvents = &events;
    mComputerFolder = computerFolder;
    mRunFailed = false;
    mItemFailed = false;
    mFirstError.clear();
    mFolders.clear();
    for (const QString &item : items)
        if (item.endsWith(kPathSeparator))
            mFolders.append(item);
    // A file inside a listed folder goes with the folder.
    QMap<QString, QStringList> filesByFolder;
    mFiles.clear();
    for (const QString &item : items) {
        if (item.endsWith(kPathSeparator) || isInListedFolder(item))
            continue;
        mFiles.insert(item);
        const qsizetype last = item.lastIndexOf(kPathSeparator);
        filesByFolder[last <= 0 ? QString(kPathSeparator) : item.left(last)].append(item.mid(last + 1));
    }
    QList<QVariantMap> files;
    for (auto folder = filesByFolder.cbegin(); folder != filesByFolder.cend(); ++folder)
        files.append({{folder.key(), folder.value()}});
    QStringList folders;
    for (const QString &folder : std::as_const(mFolders))
        folders.append(folder.chopped(1));

    if (mPrepare)
        mPrepare(mController);
    mController.setDestinationPath(accountFolder);
    mController.setMFolderSetFordelete(folders);
    mController.setMFileSetForDelete(files);
    mController.setDelegate(this);
    mController.startDelete();
}

bool RuvoArchiveCleanupDeleter::isInListedFolder(const QString &indexPath) const
{
    for (const QString &folder : mFolders)
        if (indexPath.startsWith(folder))
            return true;
    return false;
}

QString RuvoArchiveCleanupDeleter::indexPathOf(const QString &reported) const
{
    for (const QString &candidate : {mComputerFolder + reported, reported})
        if (mFiles.contains(candidate) || isInListedFolder(candidate))
            return candidate;
    return {};
}

void RuvoArchiveCleanupDeleter::deleteDidStart(RuvoDeleteController *)
{
    if (mEvents)
        mEvents->deleteDidStart();
}

void RuvoArchiveCleanupDeleter::deleteDidReceiveData(const QString &path)
{
    const QString indexPath = indexPathOf(path);
    if (mEvents && !indexPath.isEmpty())
        mEvents->deleteDidReceiveData({indexPath});
}

void RuvoArchiveCleanupDeleter::deleteDidReceiveErrors(const QString &error, const QString &path)
{
    mItemFailed = true;
    if (mEvents) {
        const QString indexPath = indexPathOf(path);
        mEvents->deleteDidReceiveErrors(error, indexPath.isEmpty() ? path : indexPath);
    }
}

void RuvoArchiveCleanupDeleter::deleteDidFinishSuccessfully(RuvoDeleteController *) { finish(mRunFailed); }

void RuvoArchiveCleanupDeleter::deleteDidFailWithError(const QString &error, RuvoDeleteController *controller)
{
    if (mFirstError.isEmpty())
        mFirstError = error;
    mRunFailed = true;
    // Each failed run reports; the deletion ends with the last one.
    if (!controller || !controller->isRunning())
        finish(true);
}

void RuvoArchiveCleanupDeleter::finish(bool failed)
{
    ArchiveCleanupDeleteEvents *events = std::exchange(mEvents, nullptr);
    if (!events)
        return;
    if (failed) {
        events->deleteDidFailWithError(mFirstError);
        return;
    }
    // Nothing failed: the listed folders hold nothing stored any more.
    if (!mItemFailed && !mFolders.isEmpty())
        events->deleteDidReceiveData(mFolders);
    events->deleteDidFinishSuccessfully();
}

void RuvoArchiveCleanupDeleter::deleteDidCancel(RuvoDeleteController *)
{
    if (ArchiveCleanupDeleteEvents *events = std::exchange(mEvents, nullptr))
        events->deleteDidCancel();
}
