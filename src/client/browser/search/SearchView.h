#pragma once

#include <QString>

// What the search page shows beside its table: the spinner, the operation's
// name, the result line and the version column.
class SearchView
{
public:
    virtual ~SearchView() = default;

    // The spinner turns while a search or a delete runs.
    virtual void setAnimating(bool animating) = 0;
    // "Searching...", "Deleting..."; "" clears it.
    virtual void setOperationName(const QString &text) = 0;
    // The result line: counts, "Items not found", delete results.
    virtual void DisplayMessage(const QString &text) = 0;
    // Sync mode keeps no versions.
    virtual void setVersionColumnHidden(bool hidden) = 0;
};
