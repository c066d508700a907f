#include "client/browser/search/SearchOperations.h"

#include "client/browser/search/SearchResults.h"
#include "client/browser/search/SearchRowRules.h"
#include "client/browser/search/SearchView.h"

#include <QSet>

namespace {

// A row's path as the tree names it: below the data root, without the leading "/".
QString treePath(const FileSystemNode &row) { return row.path.mid(1); }

QList<WebPageToken::SharedItem> sharedItems(const RestoreRules::Selection &selection)
{
    QList<WebPageToken::SharedItem> items;
    for (const QString &path : selection.contents)
        items.append({path, selection.folders.contains(path)});
    return items;
}

}  // namespace

SearchOperations::SearchOperations(OperationsHost &host, AlertPresenter &alerts, SearchResults &results,
                                   Workspace &workspace, DeleteTimings deleteTimings,
                                   std::chrono::milliseconds tokenTimeout)
    : mResults(results)
    , mActivity(host, alerts)
    , mDelete(
          mActivity, [this](const QStringList &treePaths) { removeDeleted(treePaths); }, deleteTimings)
    , mShare(mActivity, nullptr, workspace, tokenTimeout)
{}

void SearchOperations::setView(SearchView *view) { mActivity.setView(view); }

void SearchOperations::DeleteFileMenu(qsizetype clickedRow)
{
    if (!mResults.contains(clickedRow))
        return;
    const FileSystemNode &row = mResults.at(clickedRow);
    mDelete.deleteItems({{treePath(row), !row.isAFile}}, kNothingCheckedText);
}

void SearchOperations::deleteButton()
{
    const RestoreRules::Selection checked = SearchRowRules::checkedSelection(mResults.rows());
    QList<RestoreRules::CheckedItem> items;
    for (const QString &path : checked.contents)
        items.append({path, checked.folders.contains(path)});
    mDelete.deleteItems(items, kNothingCheckedText);
}

void SearchOperations::ShareFileMenu(qsizetype clickedRow)
{
    if (!mResults.contains(clickedRow))
        return;
    mShare.share(sharedItems(SearchRowRules::rowSelection(mResults.at(clickedRow))));
}

void SearchOperations::shareButton() { mShare.share(sharedItems(SearchRowRules::checkedSelection(mResults.rows()))); }

void SearchOperations::removeDeleted(const QStringList &treePaths)
{
    QSet<QString> paths;
    for (const QString &path : treePaths)
        paths.insert(QLatin1Char('/') + path);
    mResults.removeRowsWithPaths(paths);
    if (!treePaths.isEmpty())
        mActivity.displayMessage(SearchRowRules::deletedLine(treePaths.size()));
}
