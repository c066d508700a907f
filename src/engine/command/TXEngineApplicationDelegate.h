#pragma once

#include "common/account/QLApplicationDelegate.h"

class RuvoDeleteController;
class TarnixDBManager;
class TXEngineController;

// What the engine layer asks of the client's main controller, beyond what
// every lower layer asks. The main controller implements it; tests use fakes.
class TXEngineApplicationDelegate : public QLApplicationDelegate
{
public:
    // Copies the signed-in account into an engine controller's own record with
    // the port argument read afresh, gives a storage-server account's controller
    // the proxy settings file, and sets the engine executable of the account's kind.
    void setUserAndProxyToObject(TXEngineController &controller);

    // The delete controller of the signed-in user.
    virtual RuvoDeleteController *deleteController() = 0;
    // The index manager of the current drive; null in sync mode before any drive change.
    virtual TarnixDBManager *dbManager() = 0;

    // The main controller of the running program (its context), or null.
    static TXEngineApplicationDelegate *current();
    // Installs the main controller for this layer and every layer below it.
    static void setCurrent(TXEngineApplicationDelegate *delegate);
};
