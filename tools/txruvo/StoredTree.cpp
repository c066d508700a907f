#include "txruvo/StoredTree.h"

#include "txruvo/CommandLine.h"
#include "txruvo/Markers.h"
#include "txruvo/Posix.h"
#include "txruvo/StoredNames.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cstring>

#include <dirent.h>
#include <fcntl.h>

namespace {

// The entries of a folder with their status, "." and ".." left out.
template <typename Visit>
void forEachEntry(const QString &folder, const Visit &visit)
{
    DIR *listing = ::opendir(Posix::native(folder).constData());
    if (!listing)
        return;
    while (const dirent *entry = ::readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        struct stat status
        {};
        if (::fstatat(::dirfd(listing), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0)
            visit(QFile::decodeName(entry->d_name), status);
    }
    ::closedir(listing);
}

// The names of the folders in a folder (links not followed). The listing's
// entry types tell most of them: a walk that only looks for folders costs no
// status call for each item and marker (a restore walks the whole tree).
template <typename Visit>
void forEachSubfolder(const QString &folder, const Visit &visit)
{
    DIR *listing = ::opendir(Posix::native(folder).constData());
    if (!listing)
        return;
    while (const dirent *entry = ::readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat status
            {};
            isFolder = ::fstatat(::dirfd(listing), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                       S_ISDIR(status.st_mode);
        }
        if (isFolder)
            visit(QFile::decodeName(entry->d_name));
    }
    ::closedir(listing);
}

}  // namespace

StoredTree::StoredTree(const DriveLayout &layout)
    : mLayout(layout)
{}

void StoredTree::forEachFolder(const std::function<void(const QString &folder)> &visit) const
{
    QStringList pending = {mLayout.computerFolder()};
    while (!pending.isEmpty()) {
        const QString folder = pending.takeLast();
        visit(folder);
        forEachSubfolder(folder, [&](const QString &name) {
            const QString child = joinPath(folder, name);
            if (!StoredNames::isBookkeeping(name) && child != mLayout.versionFolder())
                pending << child;
        });
    }
}

QList<StoredTree::Item> StoredTree::itemsOf(const QString &folder) const
{
    QList<Item> items;
    forEachEntry(folder, [&](const QString &name, const struct stat &status) {
        if (isItem(status) && !StoredNames::isBookkeeping(name))
            items << Item{joinPath(folder, name), StoredNames::unescaped(name), status};
    });
    return items;
}

QStringList StoredTree::computerFoldersIn(const QString &dataRoot)
{
    if (Markers::readFolderId(dataRoot))
        return {dataRoot};
    QStringList folders;
    const QStringList names =
        QDir(dataRoot).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        const QString folder = joinPath(dataRoot, name);
        struct stat status
        {};
        if (Posix::lstatPath(folder, &status) && S_ISDIR(status.st_mode) && Markers::readFolderId(folder))
            folders << folder;
    }
    return folders;
}

QString StoredTree::journalTime(const struct stat &status)
{
    return QDateTime::fromSecsSinceEpoch(status.st_mtime, Qt::UTC).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
           QStringLiteral(" +0000");
}

QString StoredTree::encNameOf(const Item &item)
{
    const std::optional<Markers::ItemRecord> record = Markers::readItem(DriveLayout::markerPath(item.path));
    return record ? record->encName : Markers::encodeName(item.userName);
}
