#include "client/browser/search/SearchRestore.h"

#include "client/browser/restore/RestoreController.h"
#include "client/browser/search/SearchResults.h"
#include "client/browser/search/SearchRowRules.h"
#include "common/texts/QLLocalizedString.h"

void SearchRestore::DownloadFileMenu(qsizetype clickedRow)
{
    // The row is looked at after the running check: a click on no row still hears of a running restore.
    const RestoreRules::Selection selection = mResults.contains(clickedRow)
                                                  ? SearchRowRules::rowSelection(mResults.at(clickedRow))
                                                  : RestoreRules::Selection();
    mRestore.restoreItems(selection, RestoreController::Page::Search, QString());
}

void SearchRestore::DownloadButton()
{
    mRestore.restoreItems(SearchRowRules::checkedSelection(mResults.rows()), RestoreController::Page::Search,
                          QLLocalizedString(QStringLiteral("Please select a file that you wish to restore.")));
}
