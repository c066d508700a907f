#pragma once

#include "client/browser/restore/RestoreRules.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// Pure decisions of a delete from the destination tree: what the delete
// controller is given, and what leaves the tree and the index at the end.
// Paths are tree paths (relative to the data root, no leading "/").
namespace DeleteRules {

// One delete as it was started: the selection never changes while it runs.
struct DeleteRun
{
    RestoreRules::Selection selection;

    // The delete controller's two sets.
    QStringList folderSet() const { return selection.folders; }
    QList<QVariantMap> fileSet() const;
    // Whether a tree path is one of the run's items or lies in one of its folders.
    bool covers(const QString &treePath) const;
};

DeleteRun runOf(const QList<RestoreRules::CheckedItem> &items);

// The tree path of an item the delete reported: the index names it with the
// computer folder ("/Office/Users/a.txt"), the engine without it ("/Users/a.txt").
// The form that lies inside the run wins; "" when neither does.
QString treePathOfReported(const QString &reported, const QString &computerFolder, const DeleteRun &run);

// What a delete's end changes.
struct Outcome
{
    QStringList removedFromTree;  // tree paths
    QStringList indexDeletes;     // "/F/" for a folder, "/F/n" for a file
    bool operator==(const Outcome &) const = default;
};

// Only what the delete reported as gone leaves the tree and the index. A folder
// of the run goes as a whole when the run failed nowhere and no item in it failed;
// otherwise it stays with whatever is left in it.
//   run [F (folder), G/x], deleted [F/a, G/x], failed [] -> tree [F, G/x]; index ["/F/", "/G/x"]
//   run [F], deleted [F/a], failed [F/b]                 -> tree [F/a]; index ["/F/a"]
Outcome outcome(const DeleteRun &run, const QStringList &deleted, const QStringList &failed, bool runFailed);

}  // namespace DeleteRules
