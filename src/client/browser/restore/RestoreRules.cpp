#include "client/browser/restore/RestoreRules.h"

#include <algorithm>

namespace {

QString parentPath(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash);
}

QString ownName(const QString &path) { return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); }

}  // namespace

namespace RestoreRules {

QStringList Selection::indexPathsOfFiles() const
{
    QStringList paths;
    for (const auto &[folder, names] : fileSets) {
        for (const QString &name : names)
            paths.append(folder.isEmpty() ? QLatin1Char('/') + name
                                          : QLatin1Char('/') + folder + QLatin1Char('/') + name);
    }
    return paths;
}

Selection groupSelection(QList<CheckedItem> items)
{
    std::stable_sort(items.begin(), items.end(), [](const CheckedItem &left, const CheckedItem &right) {
        return parentPath(left.path) < parentPath(right.path);
    });
    return groupInOrder(items);
}

Selection groupInOrder(const QList<CheckedItem> &items)
{
    Selection selection;
    QString currentParent;
    QStringList batch;
    bool open = false;
    const auto closeBatch = [&] {
        if (open)
            selection.fileSets.append({currentParent, batch});
        batch.clear();
    };
    for (const CheckedItem &item : items) {
        selection.contents.append(item.path);
        if (item.isFolder) {
            selection.folders.append(item.path);
            continue;
        }
        const QString parent = parentPath(item.path);
        if (!open || parent != currentParent) {
            closeBatch();
            currentParent = parent;
            open = true;
        }
        batch.append(ownName(item.path));
    }
    closeBatch();
    return selection;
}

bool asksBeforeRestore(const QString &destination, const QString &defaultDestination)
{
    return destination == defaultDestination;
}

QString restoredLocation(const QString &destination, const QString &itemPath, const QString &computerFolder)
{
    QString original = itemPath;
    const QString folder = computerFolder.mid(1);
    if (!folder.isEmpty() && (original == folder || original.startsWith(folder + QLatin1Char('/'))))
        original = original.mid(folder.size() + 1);
    return original.isEmpty() ? destination : destination + QLatin1Char('/') + original;
}

}  // namespace RestoreRules
