#pragma once

#include <QString>
#include <QVariantList>

#include <functional>
#include <vector>

class TXDatabaseWrapper;

// One tick's rows for a journal: a backed-up file's twelve values (as
// TXDatabaseWrapper::insertRecord takes them) or a removed item's index path
// alone (as deleteRecord takes it).
namespace JournalBatch {

using Row = QVariantList;

// Writes the rows into the open journal in the order of its key, the path with
// the letter case of ASCII folded, so that the journal's pages fill front to
// back rather than all over, and the merge, which reads them in that order,
// finds them there too. Hands the error of every row that cannot be written to
// onFailure and goes on with the next.
void write(TXDatabaseWrapper &journal, std::vector<Row> rows, const std::function<void(const QString &)> &onFailure);

}  // namespace JournalBatch
