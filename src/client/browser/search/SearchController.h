#pragma once

#include "client/browser/search/KeySearch.h"
#include "client/browser/search/SearchResults.h"

#include <QObject>
#include <QString>

class BrowserHost;
class SearchView;

// The search page without its display: a key search of the drive's index,
// its rows as they come, the result line, the check boxes and the context
// menu's rules. Each search gets a number; whatever a replaced search still
// reports is dropped, so only the rows of the latest search ever show.
class SearchController : public QObject, private KeySearchReceiver
{
    Q_OBJECT

public:
    enum class MenuItem
    {
        Restore,
        Delete,
        Versions,
        Share
    };

    SearchController(BrowserHost &host, KeySearch &search, QObject *parent = nullptr);
    ~SearchController() override;

    void setView(SearchView *view) { mView = view; }
    SearchResults &results() { return mSearchResult; }
    const SearchResults &results() const { return mSearchResult; }
    bool isSearching() const { return mSearching; }

    // Searches for the key under the root ("" for the whole drive). An empty key only
    // sets the version column; a new search replaces a running one.
    void searchforPath(const QString &key, const QString &root);
    // Back to the Restore page: a running search is cancelled and the rows go.
    void DisplayRemoteView();
    // A running search is cancelled (nothing more of it shows) and the rows go: another account, a disconnect.
    void clearResults();
    void toggleCheckBoxState(qsizetype row);
    // Whether the context menu's item acts on the clicked row (-1: none).
    bool validateMenuItem(MenuItem item, qsizetype clickedRow);

signals:
    // A search starts: the version pane closes.
    void searchWillStart();
    // The Restore page is to be shown and the search field cleared.
    void remoteViewRequested();

private:
    void searchReceivedRows(quint64 search, QList<FileSystemNode> rows) override;
    void searchFinished(quint64 search) override;
    void searchEnded(quint64 search) override;
    void stopAnimation();

    BrowserHost &mHost;
    KeySearch &mSearch;
    SearchView *mView = nullptr;
    SearchResults mSearchResult;
    quint64 mGeneration = 0;  // the number of the latest search
    bool mSearching = false;
};
