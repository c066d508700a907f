#include "client/browser/search/SearchResults.h"

void SearchResults::replaceAll(QList<FileSystemNode> rows)
{
    if (mObserver)
        mObserver->resultsWillReset();
    mRows = std::move(rows);
    if (mObserver)
        mObserver->resultsDidReset();
}

void SearchResults::append(QList<FileSystemNode> rows)
{
    if (rows.isEmpty())
        return;
    if (mObserver)
        mObserver->rowsWillAppend(mRows.size(), rows.size());
    if (mRows.isEmpty())
        mRows = std::move(rows);
    else
        mRows.append(std::move(rows));
    if (mObserver)
        mObserver->rowsDidAppend();
}

void SearchResults::reorder(const std::function<void(QList<FileSystemNode> &)> &order)
{
    if (mObserver)
        mObserver->resultsWillReset();
    order(mRows);
    if (mObserver)
        mObserver->resultsDidReset();
}

bool SearchResults::toggleCheckBoxState(qsizetype row)
{
    if (!contains(row))
        return false;
    FileSystemNode &node = mRows[row];
    node.checkState = node.checkState == FileSystemNode::CheckState::Off ? FileSystemNode::CheckState::On
                                                                         : FileSystemNode::CheckState::Off;
    if (mObserver)
        mObserver->rowChanged(row);
    return true;
}

qsizetype SearchResults::removeRowsWithPaths(const QSet<QString> &paths)
{
    qsizetype removed = 0;
    // From the end, each run of neighbouring rows in one step.
    for (qsizetype row = mRows.size() - 1; row >= 0;) {
        if (!paths.contains(mRows.at(row).path)) {
            --row;
            continue;
        }
        qsizetype first = row;
        while (first > 0 && paths.contains(mRows.at(first - 1).path))
            --first;
        const qsizetype count = row - first + 1;
        if (mObserver)
            mObserver->rowsWillRemove(first, count);
        mRows.remove(first, count);
        if (mObserver)
            mObserver->rowsDidRemove();
        removed += count;
        row = first - 1;
    }
    return removed;
}
