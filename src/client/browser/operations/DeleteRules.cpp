#include "client/browser/operations/DeleteRules.h"

#include "client/browser/tree/RemoteTreeRules.h"

namespace DeleteRules {

QList<QVariantMap> DeleteRun::fileSet() const
{
    QList<QVariantMap> files;
    for (const auto &[folder, names] : selection.fileSets)
        files.append(QVariantMap{{folder, names}});
    return files;
}

bool DeleteRun::covers(const QString &treePath) const
{
    if (treePath.isEmpty())
        return false;
    for (const QString &folder : selection.folders) {
        if (RemoteTreeRules::isAtOrBelow(treePath, folder))
            return true;
    }
    return selection.contents.contains(treePath);
}

DeleteRun runOf(const QList<RestoreRules::CheckedItem> &items) { return {RestoreRules::groupSelection(items)}; }

QString treePathOfReported(const QString &reported, const QString &computerFolder, const DeleteRun &run)
{
    const QString asIndexed = reported.startsWith(QLatin1Char('/')) ? reported.mid(1) : reported;
    if (run.covers(asIndexed))
        return asIndexed;
    const QString folder = computerFolder.startsWith(QLatin1Char('/')) ? computerFolder.mid(1) : computerFolder;
    const QString asStored = folder.isEmpty() ? QString() : folder + QLatin1Char('/') + asIndexed;
    return run.covers(asStored) ? asStored : QString();
}

Outcome outcome(const DeleteRun &run, const QStringList &deleted, const QStringList &failed, bool runFailed)
{
    Outcome result;
    QStringList goneFolders;
    if (!runFailed) {
        for (const QString &folder : run.selection.folders) {
            const bool failedInside = std::any_of(failed.begin(), failed.end(), [&folder](const QString &path) {
                return RemoteTreeRules::isAtOrBelow(path, folder);
            });
            if (!failedInside)
                goneFolders.append(folder);
        }
    }
    for (const QString &folder : std::as_const(goneFolders)) {
        result.removedFromTree.append(folder);
        result.indexDeletes.append(QLatin1Char('/') + folder + QLatin1Char('/'));
    }
    for (const QString &path : deleted) {
        const bool inGoneFolder = std::any_of(goneFolders.begin(), goneFolders.end(), [&path](const QString &folder) {
            return RemoteTreeRules::isAtOrBelow(path, folder);
        });
        if (inGoneFolder || !run.covers(path) || result.removedFromTree.contains(path))
            continue;
        result.removedFromTree.append(path);
        result.indexDeletes.append(QLatin1Char('/') + path);
    }
    return result;
}

}  // namespace DeleteRules
