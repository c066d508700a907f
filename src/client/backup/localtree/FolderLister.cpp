#include "client/backup/localtree/FolderLister.h"

#include "client/common/tree/TreeViewNode.h"
#include "common/utility/QLUtility.h"
#include "platform/VolumeFacts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

QString listingDate(time_t seconds)
{
    struct tm local
    {};
    if (!localtime_r(&seconds, &local))
        return {};
    char text[80];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", local.tm_mon + 1, local.tm_mday,
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return QString::fromLatin1(text);
}

using Link = TreeViewNode::Link;

// A link has no size of its own worth showing: its few bytes are not what the user sees.
ListedEntry entryFor(const QString &name, bool isDir, Link link, quint64 size, time_t modified)
{
    ListedEntry entry;
    entry.name = name;
    entry.isDir = isDir && link == Link::NotALink;
    entry.link = link;
    entry.sizeText = link != Link::NotALink ? QString()
                     : entry.isDir          ? QStringLiteral("-")
                                            : QLUtility::formatedFileSizeForOutlineView(double(size));
    entry.dateText = listingDate(modified);
    return entry;
}

ListedEntry entryFor(const QString &name, const QFileInfo &info)
{
    const Link link = !info.isSymLink() ? Link::NotALink : info.isDir() ? Link::ToFolder : Link::ToFile;
    return entryFor(name, info.isDir(), link, quint64(info.size()), time_t(info.lastModified().toSecsSinceEpoch()));
}

// What the item of a folder is, read without following it; a link is followed once
// to learn whether it leads to a folder (a broken one counts as a link to a file).
Link linkOf(int folderFd, const char *name, const struct stat &item)
{
    if (!S_ISLNK(item.st_mode))
        return Link::NotALink;
    struct stat target
    {};
    return ::fstatat(folderFd, name, &target, 0) == 0 && S_ISDIR(target.st_mode) ? Link::ToFolder : Link::ToFile;
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
        if (info.fileName() == QLatin1String(".DS_Store") || info.fileName() == layout.startupName ||
            VolumeFacts::isStartupVolume(info.filePath()))
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
{}

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
        // The folder is read with the system calls directly: one stat per item, no more.
        DIR *folder = ::opendir(QFile::encodeName(request.diskPath).constData());
        if (!folder) {
            listing.folderGone = true;
            return listing;
        }
        const auto closeFolder = qScopeGuard([folder] { ::closedir(folder); });
        int seen = 0;
        while (const dirent *item = ::readdir(folder)) {
            if (cancelled.load()) {
                listing.cancelled = true;
                return listing;
            }
            const QString name = QFile::decodeName(item->d_name);
            if (name == QLatin1String(".") || name == QLatin1String(".."))
                continue;
            if (++seen % kEntriesPerListingPause == 0)
                rest(pause, cancelled);
            if (!request.showHidden && name.startsWith('.'))
                continue;
            const QString treePath = request.folderPath + '/' + name;
            if (request.exclusions.isHiddenByDefault(treePath))
                continue;
            struct stat info
            {};
            if (::fstatat(::dirfd(folder), item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
                // The item went while the folder was read; the folder itself may have gone too.
                if (!QFileInfo(request.diskPath).isDir()) {
                    listing.folderGone = true;
                    listing.entries.clear();
                    return listing;
                }
                continue;
            }
            ListedEntry entry = entryFor(name, S_ISDIR(info.st_mode), linkOf(::dirfd(folder), item->d_name, info),
                                         quint64(info.st_size), info.st_mtime);
            entry.isUserExcluded = request.exclusions.isUserExcluded(treePath);
            listing.entries.append(std::move(entry));
        }
    }
    std::sort(listing.entries.begin(), listing.entries.end(), [](const ListedEntry &left, const ListedEntry &right) {
        return TreeViewNode::isOrderedBefore(left.name, left.isDir, right.name, right.isDir);
    });
    return listing;
}
