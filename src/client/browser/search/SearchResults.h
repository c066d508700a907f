#pragma once

#include "common/transfer/FileSystemNode.h"

#include <QList>
#include <QSet>
#include <QString>

#include <functional>

// Told of every change of the search results before and after it happens, so
// that a table model can follow them.
class SearchResultsObserver
{
public:
    virtual ~SearchResultsObserver() = default;
    virtual void resultsWillReset() = 0;
    virtual void resultsDidReset() = 0;
    virtual void rowsWillAppend(qsizetype first, qsizetype count) = 0;
    virtual void rowsDidAppend() = 0;
    virtual void rowsWillRemove(qsizetype first, qsizetype count) = 0;
    virtual void rowsDidRemove() = 0;
    virtual void rowChanged(qsizetype row) = 0;
};

// The rows of the search results in table order, with their check boxes.
class SearchResults
{
public:
    void setObserver(SearchResultsObserver *observer) { mObserver = observer; }

    const QList<FileSystemNode> &rows() const { return mRows; }
    qsizetype count() const { return mRows.size(); }
    const FileSystemNode &at(qsizetype row) const { return mRows.at(row); }
    bool contains(qsizetype row) const { return row >= 0 && row < mRows.size(); }

    void clear() { replaceAll({}); }
    void replaceAll(QList<FileSystemNode> rows);
    void append(QList<FileSystemNode> rows);
    // The same rows in a new order, sorted where they are: the table is reset once.
    void reorder(const std::function<void(QList<FileSystemNode> &)> &order);
    // Off becomes on, on becomes off; false for no such row.
    bool toggleCheckBoxState(qsizetype row);
    // Removes the rows whose path is one of the given; the number removed.
    qsizetype removeRowsWithPaths(const QSet<QString> &paths);

private:
    SearchResultsObserver *mObserver = nullptr;
    QList<FileSystemNode> mRows;
};
