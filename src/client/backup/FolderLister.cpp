#include "client/backup/FolderLister.h"

#include "client/backup/TreeViewNode.h"
#include "common/utility/QLUtility.h"
#include "platform/VolumeFacts.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <thread>

namespace {

ListedEntry entryFor(const QString &name, const QFileInfo &info)
{
    ListedEntry entry;
    entry.name = name;
    entry.isDir = info.isDir() && !info.isSymLink();
    entry.sizeText = entry.isDir ? QStringLiteral("-") : QLUtility::formatedFileSizeForOutlineView(double(info.size()));
    entry.dateText = info.lastModified().toString(kListingDateFormat);
    return entry;
}

// Rests between batches of entries, waking early when the listing is cancelled.
void rest(std::chrono::milliseconds pause, const std::atomic<bool> &cancelled)
{
    constexpr std::chrono::milliseconds kSlice{20};
    for (auto left = pause; left.count() > 0 && !cancelled.load(); left -= kSlice)
        std::this_thread::sleep_for(std::min(left, kSlice));
}

QVector<ListedEntry> drives(const FolderLister::Request &request)
{
    const LocalVolumeLayout &layout = request.layout;
    QVector<ListedEntry> entries{entryFor(layout.startupName, QFileInfo(layout.startupRoot))};
    entries.front().isDir = true;
    const QDir root(request.diskPath);
    for (const QFileInfo &info : root.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
        if (info.fileName() == QLatin1String(".DS_Store") || info.fileName() == layout.startupName
            || VolumeFacts::isStartupVolume(info.filePath()))
            continue;
        entries.append(entryFor(info.fileName(), info));
    }
    for (ListedEntry &entry : entries)
        entry.isUserExcluded = request.exclusions.isUserExcluded(request.folderPath + '/' + entry.name);
    return entries;
}

}  // namespace

FolderLister::FolderLister(std::chrono::milliseconds pause, QObject *parent)
    : QObject(parent)
    , mPause(pause)
{
}

FolderLister::~FolderLister()
{
    mCancelled->store(true);
    mPool.waitForDone();
}

void FolderLister::list(const Request &request)
{
    if (isCancelled())
        return;
    ++*mRunning;
    mPool.start([this, request, cancelled = mCancelled, running = mRunning, pause = mPause] {
        FolderListing listing = readFolder(request, *cancelled, pause);
        // A listing counts as running until the main thread has its result.
        QMetaObject::invokeMethod(
            this,
            [this, listing, running] {
                --*running;
                emit folderListed(listing);
            },
            Qt::QueuedConnection);
    });
}

FolderListing FolderLister::readFolder(const Request &request, const std::atomic<bool> &cancelled,
                                       std::chrono::milliseconds pause)
{
    FolderListing listing;
    listing.folderPath = request.folderPath;
    listing.generation = request.generation;
    if (!QFileInfo(request.diskPath).isDir()) {
        listing.folderGone = true;
        return listing;
    }
    if (request.listsDrives) {
        listing.entries = drives(request);
    } else {
        QDirIterator walk(request.diskPath, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        int seen = 0;
        while (walk.hasNext()) {
            if (cancelled.load()) {
                listing.cancelled = true;
                return listing;
            }
            if (++seen % kEntriesPerListingPause == 0)
                rest(pause, cancelled);
            walk.next();
            const QFileInfo info = walk.fileInfo();
            const QString name = info.fileName();
            if (!request.showHidden && name.startsWith('.'))
                continue;
            const QString treePath = request.folderPath + '/' + name;
            if (request.exclusions.isHiddenByDefault(treePath))
                continue;
            if (!info.exists() && !info.isSymLink()) {
                // The item went while the folder was read; the folder itself may have gone too.
                if (!QFileInfo(request.diskPath).isDir()) {
                    listing.folderGone = true;
                    listing.entries.clear();
                    return listing;
                }
                continue;
            }
            ListedEntry entry = entryFor(name, info);
            entry.isUserExcluded = request.exclusions.isUserExcluded(treePath);
            listing.entries.append(std::move(entry));
        }
    }
    std::sort(listing.entries.begin(), listing.entries.end(), [](const ListedEntry &left, const ListedEntry &right) {
        return TreeViewNode::isOrderedBefore(left.name, left.isDir, right.name, right.isDir);
    });
    return listing;
}
