#include "client/browser/search/SearchRowRules.h"

#include "common/utility/QLUtility.h"

#include <algorithm>

namespace {

const QString kAttributeListSuffix = QStringLiteral(".txxlist");

// The index path without its leading "/": the form the restore and delete sets take.
QString rootRelative(const QString &indexPath)
{
    return indexPath.startsWith(QLatin1Char('/')) ? indexPath.mid(1) : indexPath;
}

RestoreRules::CheckedItem checkedItem(const FileSystemNode &row) { return {rootRelative(row.path), !row.isAFile}; }

}  // namespace

namespace SearchRowRules {

bool isShownResult(const QString &fileName, bool showHidden)
{
    if (fileName.endsWith(QLatin1Char('/')) || fileName.endsWith(kAttributeListSuffix))
        return false;
    const qsizetype nameStart = fileName.lastIndexOf(QLatin1Char('/')) + 1;
    return showHidden || fileName.mid(nameStart, 1) != QLatin1String(".");
}

FileSystemNode rowFromResult(const IndexEntry &result)
{
    FileSystemNode row(result.fileName, QLUtility::formatedFileSizeForOutlineView(double(result.fileSize)),
                       result.fileModificationDate, true, QString::number(result.versionInfo));
    row.setEncFileName(result.encFilename);
    row.setFolderID(result.folderID);
    row.setMpcName(result.mpcName);
    return row;
}

QList<FileSystemNode> rowsFromResults(const IndexEntries &results, bool showHidden)
{
    QList<FileSystemNode> rows;
    rows.reserve(results.size());
    for (const IndexEntry &result : results) {
        if (isShownResult(result.fileName, showHidden))
            rows.append(rowFromResult(result));
    }
    return rows;
}

QString countLine(qsizetype rows)
{
    if (rows == 0)
        return QStringLiteral("Items not found");
    return QStringLiteral("%1 %2 found").arg(rows).arg(rows < 2 ? QStringLiteral("item") : QStringLiteral("items"));
}

QString deletedLine(qsizetype items)
{
    return QStringLiteral("%1 %2 deleted").arg(items).arg(items < 2 ? QStringLiteral("item") : QStringLiteral("items"));
}

QString displayDate(const QString &storedDate)
{
    return storedDate.contains(QLatin1Char('+')) ? QLUtility::remoteDateFormatStr(storedDate)
                                                 : QLUtility::remoteDateFormatStrAfterReindex(storedDate);
}

void sortByParentFolder(QList<FileSystemNode> &rows)
{
    // Each row's folder is looked at in place, not copied at every comparison.
    QList<std::pair<QStringView, qsizetype>> keys;
    keys.reserve(rows.size());
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QString &path = rows.at(row).path;
        keys.append({QStringView(path).left(std::max<qsizetype>(0, path.lastIndexOf(QLatin1Char('/')))), row});
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto &left, const auto &right) { return left.first < right.first; });
    QList<FileSystemNode> sorted;
    sorted.reserve(rows.size());
    for (const auto &key : std::as_const(keys))
        sorted.append(std::move(rows[key.second]));
    rows = std::move(sorted);
}

bool versionsEnabled(bool storageServerAccount, const QString &versionCount)
{
    return storageServerAccount && versionCount.toInt() > 1;
}

RestoreRules::Selection checkedSelection(const QList<FileSystemNode> &rows)
{
    QList<RestoreRules::CheckedItem> items;
    for (const FileSystemNode &row : rows) {
        if (row.checkState == FileSystemNode::CheckState::On)
            items.append(checkedItem(row));
    }
    return RestoreRules::groupInOrder(items);
}

RestoreRules::Selection rowSelection(const FileSystemNode &row)
{
    return RestoreRules::groupInOrder({checkedItem(row)});
}

}  // namespace SearchRowRules
