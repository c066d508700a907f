#pragma once

#include "client/browser/operations/RemoteActivityView.h"

// What the search page shows beside its table: the spinner while a search or
// a delete runs, the operation's name ("Searching...", "Deleting..."), the
// result line (counts, "Items not found", delete results) and the version column.
class SearchView : public RemoteActivityView
{
public:
    // Sync mode keeps no versions.
    virtual void setVersionColumnHidden(bool hidden) = 0;
};
