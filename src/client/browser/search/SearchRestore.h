#pragma once

#include <QtGlobal>

class RestoreController;
class SearchResults;

// Restores search results through the Restore page's restore: the same driver,
// destination, prompt and question, with the search page's own session-log
// wording. One restore runs at a time on both pages.
class SearchRestore
{
public:
    SearchRestore(const SearchResults &results, RestoreController &restore)
        : mResults(results)
        , mRestore(restore)
    {}

    // The context menu's Restore: the clicked row (-1: none).
    void DownloadFileMenu(qsizetype clickedRow);
    // The Restore button: every checked row, in table order.
    void DownloadButton();

private:
    const SearchResults &mResults;
    RestoreController &mRestore;
};
