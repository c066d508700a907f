#pragma once

#include "client/browser/restore/RestoreRules.h"
#include "common/transfer/FileSystemNode.h"
#include "index/IndexEntry.h"

#include <QList>
#include <QString>

// Pure decisions of the search results: which found items become rows and how
// they read, the result line, the order after the search, the versions entry
// and the items a restore or delete of checked rows hands over.
namespace SearchRowRules {

// A found item shows unless it is a folder ("/" at its end), an attribute list
// (".txxlist") or, while hidden files are not shown, hidden ("." first).
bool isShownResult(const QString &fileName, bool showHidden);
// The row of a found file: its path, size text, stored date, version count and
// where the drive keeps it.
FileSystemNode rowFromResult(const IndexEntry &result);
// The rows of a batch of found items, in their order, without those not shown.
QList<FileSystemNode> rowsFromResults(const IndexEntries &results, bool showHidden);

// "Items not found", "1 item found", "2 items found".
QString countLine(qsizetype rows);
// "%d %@ deleted" with "item" or "items".
QString deletedLine(qsizetype items);
// The stored date as the table shows it (MM/DD/YYYY hh:mm:ss): a listing-form
// date ("2013-04-05 06:07:08 +0000") or a re-index-form one ("Fri Apr  5
// 06:07:08 2013"); empty when too short to read.
QString displayDate(const QString &storedDate);
// The rows grouped by folder, folders in ascending path order (plain, case-
// sensitive); rows of one folder keep their order.
void sortByParentFolder(QList<FileSystemNode> &rows);

// The versions entry of the context menu: a storage-server account and more than one stored version.
bool versionsEnabled(bool storageServerAccount, const QString &versionCount);

// The checked rows as a restore or delete takes them, in table order: the
// files of consecutive rows of one folder share a set; paths relative to the
// data root, without the index path's leading "/".
RestoreRules::Selection checkedSelection(const QList<FileSystemNode> &rows);
// One row alone, as the context menu's actions take it.
RestoreRules::Selection rowSelection(const FileSystemNode &row);

}  // namespace SearchRowRules
