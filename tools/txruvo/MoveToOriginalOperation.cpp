#include "txruvo/MoveToOriginalOperation.h"

#include "txruvo/CommandLine.h"
#include "txruvo/DriveLayout.h"
#include "txruvo/ListFile.h"
#include "txruvo/Posix.h"
#include "txruvo/VersionShelf.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

// The computer folder holding the path: its highest folder with a folder
// marker (every stored folder has one; the user folder above has none).
std::optional<QString> computerFolderOf(const QString &itemPath)
{
    std::optional<QString> found;
    for (QString folder = Posix::parentOf(itemPath); folder.size() > 1; folder = Posix::parentOf(folder)) {
        if (Posix::exists(joinPath(folder, QLatin1String(DriveLayout::kFolderMarkerName))))
            found = folder;
    }
    return found;
}

// Why a line names no stored path, or nothing.
std::optional<QString> refusalOf(const ListEntry &entry)
{
    const QString line = entry.text();
    if (!entry.isValidUtf8())
        return QStringLiteral("Operation not permitted (not valid UTF-8)");
    if (!line.startsWith(u'/'))
        return QStringLiteral("Operation not permitted (not an absolute path)");
    for (const QStringView part : QStringView(line).split(u'/')) {
        if (part == u"." || part == u"..")
            return QStringLiteral("Operation not permitted (. or .. in the path)");
    }
    return std::nullopt;
}

// Renames without replacing what may have appeared at `to` meanwhile.
bool renameNoReplace(const QString &from, const QString &to)
{
    return ::renameat2(AT_FDCWD, Posix::native(from).constData(), AT_FDCWD, Posix::native(to).constData(),
                       RENAME_NOREPLACE) == 0;
}

}  // namespace

MoveToOriginalOperation::Result MoveToOriginalOperation::moveBack(const QString &itemPath) const
{
    struct stat status
    {};
    if (Posix::lstatPath(itemPath, &status)) {
        if (S_ISREG(status.st_mode) || S_ISLNK(status.st_mode))
            return {Outcome::InPlace, {}};
        return {Outcome::Moved, QStringLiteral("Operation not permitted (not a stored item)")};
    }
    const std::optional<QString> computerFolder = computerFolderOf(itemPath);
    if (!computerFolder || !Posix::statPath(Posix::parentOf(itemPath), &status))
        return {Outcome::Moved, Posix::errorText(ENOENT)};
    const DriveLayout layout(*computerFolder, true);
    const VersionShelf shelf(layout);
    const QString relativePath = layout.relativePathOf(itemPath);
    const int newest = shelf.count(relativePath);
    if (newest == 0)
        return {Outcome::Moved, Posix::errorText(ENOENT) + QStringLiteral(" (no stored copy)")};
    if (!renameNoReplace(layout.versionPath(relativePath, newest), itemPath))
        return {Outcome::Moved, Posix::errorText(errno)};
    // The marker normally stayed beside the item; its version goes with the copy it described.
    const QString markerVersion = layout.markerVersionPath(relativePath, newest);
    if (!renameNoReplace(markerVersion, DriveLayout::markerPath(itemPath)))
        ::unlink(Posix::native(markerVersion).constData());
    return {Outcome::Moved, {}};
}

int MoveToOriginalOperation::run()
{
    if (const std::optional<int> status = mRun.begin())
        return *status;
    const CommandLine &commandLine = mRun.commandLine();
    const std::optional<RemoteSpec> remote = RemoteSpec::parse(commandLine.positionals().value(0));
    if (!remote)
        return mRun.fail(QStringLiteral("txruvo error: invalid path (no remote USER@SERVER::home<path> given)"));
    QString error;
    const std::optional<ListFile> list = ListFile::read(commandLine.value(QStringLiteral("--files-from")), &error);
    if (!list)
        return mRun.fail(QStringLiteral("txruvo error: invalid source path for operation (%1)").arg(error));

    std::unique_ptr<FILE, int (*)(FILE *)> errorFile(nullptr, &std::fclose);
    if (commandLine.has(QStringLiteral("--e"))) {
        errorFile.reset(std::fopen(Posix::native(commandLine.value(QStringLiteral("--e"))).constData(), "we"));
        if (!errorFile)
            return mRun.fail(QStringLiteral("txruvo error: invalid path (error file cannot be opened)"));
    }
    FILE *errors = errorFile ? errorFile.get() : stderr;
    const auto reportError = [errors](const QString &line, const QString &reason) {
        QString shown = line;
        shown.replace(u'\n', u'?').replace(QStringLiteral(", :"), QStringLiteral(",?:"));
        std::fprintf(errors, "IOERROR: [%s], : %s\n", shown.toUtf8().constData(), reason.toUtf8().constData());
        std::fflush(errors);
    };

    int moved = 0;
    for (const ListEntry &entry : list->entries()) {
        const QString line = entry.text();
        std::optional<QString> failure = refusalOf(entry);
        if (const auto scripted = mRun.scenario().failFiles.find(line); scripted != mRun.scenario().failFiles.end())
            failure = *scripted;
        Result result;
        if (!failure) {
            result = moveBack(joinPath(remote->path, line));
            if (!result.failure.isEmpty())
                failure = result.failure;
        }
        if (failure) {
            reportError(line, *failure);
            continue;
        }
        const QString op = result.outcome == Outcome::InPlace ? QStringLiteral("in_place") : QStringLiteral("moved");
        moved += result.outcome == Outcome::Moved ? 1 : 0;
        if (const std::optional<int> stop = mRun.write(
                {QStringLiteral("item"), {{QStringLiteral("op"), op}, {QStringLiteral("fname"), line}}, {op, line}}))
            return *stop;
    }
    const QString count = QString::number(moved);
    if (const std::optional<int> stop = mRun.write({QStringLiteral("summary"),
                                                    {{QStringLiteral("tot_items_moved"), count}},
                                                    {QStringLiteral("tot_items_moved"), count}}))
        return *stop;
    return mRun.finish();
}
