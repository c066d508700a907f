#pragma once

#include "client/browser/operations/DeleteOperation.h"
#include "client/browser/operations/RemoteActivity.h"
#include "client/browser/operations/ShareOperation.h"

#include <QtGlobal>

class SearchResults;
class SearchView;
class Workspace;

// Delete and share of search results through the Restore page's flows: the
// program's one delete controller (one delete at a time on both pages) and the
// share link's token request. Deleted rows leave the table by their paths.
class SearchOperations
{
public:
    static inline const QString kNothingCheckedText = QStringLiteral("Select file(s) to delete");

    SearchOperations(OperationsHost &host, AlertPresenter &alerts, SearchResults &results, Workspace &workspace,
                     DeleteTimings deleteTimings = {},
                     std::chrono::milliseconds tokenTimeout = WebPageToken::kRequestTimeout);

    void setView(SearchView *view);
    DeleteOperation &deleteOperation() { return mDelete; }

    // The context menu's entries for the clicked row (-1: none), and the buttons for the checked rows.
    void DeleteFileMenu(qsizetype clickedRow);
    void deleteButton();
    void ShareFileMenu(qsizetype clickedRow);
    void shareButton();

private:
    void removeDeleted(const QStringList &treePaths);

    SearchResults &mResults;
    RemoteActivity mActivity;
    DeleteOperation mDelete;
    ShareOperation mShare;
};
