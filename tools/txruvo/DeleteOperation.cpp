#include "txruvo/DeleteOperation.h"

#include "txruvo/DriveLayout.h"
#include "txruvo/ListFile.h"
#include "txruvo/Posix.h"
#include "txruvo/StoredItemFinder.h"
#include "txruvo/VersionShelf.h"

#include <cerrno>
#include <unistd.h>

namespace {

// Removes a companion file; one that is not there is no failure.
bool removeCompanion(const QString &path) { return ::unlink(Posix::native(path).constData()) == 0 || errno == ENOENT; }

QString ioError(const QString &item, const QString &reason)
{
    return QStringLiteral("IOERROR [%1] Reason: %2").arg(item, reason);
}

// Removes one stored item and everything kept for it; the reason when the item itself stays.
std::optional<QString> removeItem(const DriveLayout &layout, const VersionShelf &shelf, const QString &item)
{
    const QString relativePath = layout.relativePathOf(item);
    const QString versionsPath = shelf.versionsPathOf(item, relativePath);
    if (::unlink(Posix::native(item).constData()) != 0)
        return Posix::errorText(errno);
    removeCompanion(DriveLayout::markerPath(item));
    for (const QString &companion : DriveLayout::companionPaths(item))
        removeCompanion(companion);
    if (layout.hasVersions()) {
        for (int version = shelf.count(versionsPath); version >= 1; --version) {
            removeCompanion(layout.versionPath(versionsPath, version));
            removeCompanion(layout.markerVersionPath(versionsPath, version));
        }
    }
    return std::nullopt;
}

}  // namespace

int DeleteOperation::run()
{
    if (const std::optional<int> status = mRun.begin())
        return *status;
    const CommandLine &commandLine = mRun.commandLine();
    const std::optional<RemoteSpec> remote = RemoteSpec::parse(commandLine.positionals().value(0));
    if (!remote)
        return mRun.fail(QStringLiteral("txruvo error: invalid path (no remote USER@SERVER::home<path> given)"));
    const QString computerFolder = folderPath(remote->path);
    const QString dataRoot = folderPath(commandLine.value(QStringLiteral("--portable-dest")));
    struct stat status
    {};
    if (!Posix::statPath(computerFolder, &status) || !S_ISDIR(status.st_mode))
        return mRun.fail(QStringLiteral("txruvo error: device is not connected (%1)").arg(computerFolder));

    // A missing list is an empty one: nothing to delete.
    QString error;
    const ListFile list =
        ListFile::read(commandLine.value(QStringLiteral("--files-from")), &error).value_or(ListFile());
    // Sync mode: the remote names the data root itself, which keeps no versions.
    const DriveLayout layout(computerFolder, computerFolder != dataRoot);
    const VersionShelf shelf(layout);
    StoredItemFinder finder(layout);
    int deleted = 0;
    for (const ListEntry &entry : list.entries()) {
        const QString line = entry.text();
        const QStringList identifiers = line.split(u'/', Qt::SkipEmptyParts);
        const std::optional<QString> item = identifiers.size() == 2 && entry.isValidUtf8()
                                                ? finder.find(identifiers.at(0), identifiers.at(1))
                                                : std::nullopt;
        std::optional<int> stop;
        if (const auto failure = mRun.scenario().failFiles.find(line); failure != mRun.scenario().failFiles.end()) {
            stop = mRun.writePlain(ioError(line, *failure));
        } else if (!item) {
            stop = mRun.writePlain(ioError(line, Posix::errorText(ENOENT)));
        } else if (const std::optional<QString> reason = removeItem(layout, shelf, *item)) {
            stop = mRun.writePlain(ioError(layout.userPathOf(layout.relativePathOf(*item)), *reason));
        } else {
            const QString userPath = layout.userPathOf(layout.relativePathOf(*item));
            stop = mRun.write({QStringLiteral("item"),
                               {{QStringLiteral("op"), QStringLiteral("deleted")}, {QStringLiteral("fname"), userPath}},
                               {QStringLiteral("deleted"), userPath}});
            ++deleted;
        }
        if (stop)
            return *stop;
    }
    const QString count = QString::number(deleted);
    if (const std::optional<int> stop = mRun.write({QStringLiteral("summary"),
                                                    {{QStringLiteral("tot_items_deleted"), count}},
                                                    {QStringLiteral("tot_items_deleted"), count}}))
        return *stop;
    return mRun.finish();
}
