#include "txruvo/VersionInfoOperation.h"

#include "txruvo/DriveLayout.h"
#include "txruvo/Posix.h"
#include "txruvo/StoredItemFinder.h"
#include "txruvo/StoredTree.h"
#include "txruvo/VersionShelf.h"

namespace {

// One version line, from the stored copy's size and modification time.
AnswerLine versionLine(const struct stat &copy, int version)
{
    const QString modified = StoredTree::journalTime(copy);
    const QString size = QString::number(qint64(copy.st_size));
    const QString number = QString::number(version);
    return {QStringLiteral("version"),
            {{QStringLiteral("mod_time"), modified}, {QStringLiteral("size"), size}, {QStringLiteral("ver"), number}},
            {modified, size, number}};
}

}  // namespace

int VersionInfoOperation::run()
{
    if (const std::optional<int> status = mRun.begin())
        return *status;
    const CommandLine &commandLine = mRun.commandLine();
    const QString dataRoot = folderPath(commandLine.value(QStringLiteral("--portable-dest")));
    if (commandLine.value(QStringLiteral("--portable-dest")).isEmpty())
        return mRun.fail(QStringLiteral("txruvo error: invalid path (no --portable-dest= data root given)"));
    struct stat status
    {};
    if (!Posix::statPath(dataRoot, &status) || !S_ISDIR(status.st_mode))
        return mRun.fail(QStringLiteral("txruvo error: device is not connected (%1)").arg(dataRoot));

    const std::optional<RemoteSpec> remote = RemoteSpec::parse(commandLine.positionals().value(0));
    QString path = remote ? remote->path : QString();
    if (path.startsWith(dataRoot + u'/'))
        path = path.mid(dataRoot.size());
    const QStringList identifiers = path.split(u'/', Qt::SkipEmptyParts);
    if (identifiers.size() != 2)
        return mRun.fail(QStringLiteral("txruvo error: invalid path (not a stored item: %1)").arg(path));

    const DriveLayout layout(dataRoot, true);
    const std::optional<QString> item = StoredItemFinder(layout).find(identifiers.at(0), identifiers.at(1));
    struct stat current
    {};
    if (!item || !Posix::lstatPath(*item, &current))
        return mRun.fail(QStringLiteral("txruvo error: No such file or directory (%1)").arg(path));

    const VersionShelf shelf(layout);
    const QString versionsPath = shelf.versionsPathOf(*item, layout.relativePathOf(*item));
    const int earlier = shelf.count(versionsPath);
    for (int version = 1; version <= earlier; ++version) {
        struct stat copy
        {};
        // A slot left empty by a run killed while shifting slots has no line.
        if (!Posix::lstatPath(layout.versionPath(versionsPath, version), &copy))
            continue;
        if (const std::optional<int> stop = mRun.write(versionLine(copy, version)))
            return *stop;
    }
    if (const std::optional<int> stop = mRun.write(versionLine(current, earlier + 1)))
        return *stop;
    return mRun.finish();
}
