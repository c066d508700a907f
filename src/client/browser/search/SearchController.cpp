#include "client/browser/search/SearchController.h"

#include "client/browser/host/BrowserHost.h"
#include "client/browser/search/SearchRowRules.h"
#include "client/browser/search/SearchView.h"
#include "common/account/User.h"
#include "common/utility/QLUtility.h"

SearchController::SearchController(BrowserHost &host, KeySearch &search, QObject *parent)
    : QObject(parent)
    , mHost(host)
    , mSearch(search)
{
    mSearch.setReceiver(this);
}

SearchController::~SearchController() { mSearch.setReceiver(nullptr); }

void SearchController::searchforPath(const QString &key, const QString &root)
{
    if (mView)
        mView->setVersionColumnHidden(!mHost.isAppInBackupMode());
    if (key.isEmpty())
        return;
    emit searchWillStart();
    ++mGeneration;
    mSearchResult.clear();
    mSearching = true;
    if (mView) {
        mView->setSpinnerRunning(true);
        mView->setOperationName(QStringLiteral("Searching..."));
        mView->displayMessage(QString());
    }
    // Only a storage-server account's index is searched; any other finds nothing.
    if (!mHost.userObject().isRuvoUser()) {
        searchReceivedRows(mGeneration, {});
        searchFinished(mGeneration);
        return;
    }
    mSearch.start(mGeneration, key, root, QLUtility::ShowHiddenFilesKey());
}

void SearchController::searchReceivedRows(quint64 search, QList<FileSystemNode> rows)
{
    if (search != mGeneration)
        return;
    mSearchResult.append(std::move(rows));
    if (mView)
        mView->displayMessage(SearchRowRules::countLine(mSearchResult.count()));
}

void SearchController::searchFinished(quint64 search)
{
    if (search != mGeneration)
        return;
    mSearching = false;
    if (mSearchResult.count() > 0)
        mSearchResult.reorder(&SearchRowRules::sortByParentFolder);
    if (mView)
        mView->displayMessage(SearchRowRules::countLine(mSearchResult.count()));
    stopAnimation();
}

void SearchController::searchEnded(quint64 search)
{
    if (search != mGeneration)
        return;
    // The rows received so far stay.
    mSearching = false;
    stopAnimation();
}

void SearchController::stopAnimation()
{
    if (!mView)
        return;
    mView->setSpinnerRunning(false);
    mView->setOperationName(QString());
}

void SearchController::DisplayRemoteView()
{
    clearResults();
    emit remoteViewRequested();
}

void SearchController::clearResults()
{
    if (mSearching) {
        // What the cancelled search still reports is dropped.
        ++mGeneration;
        mSearching = false;
        mSearch.cancel();
        stopAnimation();
    }
    mSearchResult.clear();
}

void SearchController::toggleCheckBoxState(qsizetype row) { mSearchResult.toggleCheckBoxState(row); }

bool SearchController::validateMenuItem(MenuItem item, qsizetype clickedRow)
{
    if (!mSearchResult.contains(clickedRow))
        return false;
    if (item == MenuItem::Versions)
        return SearchRowRules::versionsEnabled(mHost.userObject().isRuvoUser(), mSearchResult.at(clickedRow).version);
    return true;
}
