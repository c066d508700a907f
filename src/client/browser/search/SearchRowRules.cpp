#include "client/browser/search/SearchRowRules.h"

#include "common/utility/QLUtility.h"

#include <algorithm>
#include <vector>

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
    // The order is found on the rows' folders looked at in place, then the rows are
    // moved along its cycles where they are: no second list of a large result is made.
    std::vector<qsizetype> order(size_t(rows.size()));
    std::vector<QStringView> folders;
    folders.reserve(order.size());
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QString &path = rows.at(row).path;
        folders.push_back(QStringView(path).left(std::max<qsizetype>(0, path.lastIndexOf(QLatin1Char('/')))));
        order[size_t(row)] = row;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&folders](qsizetype left, qsizetype right) { return folders[left] < folders[right]; });
    std::vector<bool> placed(order.size(), false);
    for (size_t start = 0; start < order.size(); ++start) {
        if (placed[start])
            continue;
        FileSystemNode first = std::move(rows[start]);
        size_t at = start;
        for (;;) {
            placed[at] = true;
            const size_t from = size_t(order[at]);
            if (from == start) {
                rows[at] = std::move(first);
                break;
            }
            rows[at] = std::move(rows[from]);
            at = from;
        }
    }
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
