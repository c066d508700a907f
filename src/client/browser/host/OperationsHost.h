#pragma once

#include "client/browser/host/BrowserHost.h"

class RuvoDeleteController;

// What the destination tree's operations ask of the program beyond the Restore
// page's needs: the program's one delete controller, the index's delete queue,
// the operation and re-index flags, and the Search page.
// The main controller and the sidebar implement it; tests use a fake.
class OperationsHost : public BrowserHost
{
public:
    virtual bool isOperationActive() const = 0;
    // While set, every operation on the index refuses (the backup page's too).
    virtual void setReIndexInProgress(bool inProgress) = 0;
    // Shared with the search page: a delete sets it up in full before every start.
    virtual RuvoDeleteController &deleteController() = 0;
    // An index path whose rows are to go ("/F/" a folder, "/F/n" a file).
    virtual void addFileToDelete(const QString &indexPath) = 0;
    // The Search page comes forward with the key in its field and searches for it.
    virtual void displaySearchView(const QString &key) = 0;
};
