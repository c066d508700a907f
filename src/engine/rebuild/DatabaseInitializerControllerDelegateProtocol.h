#pragma once

#include <QString>

class DatabaseInitializerController;

// What the destination browser hears of an index rebuild, on the main thread.
class DatabaseInitializerControllerDelegateProtocol
{
public:
    virtual ~DatabaseInitializerControllerDelegateProtocol() = default;

    // The engine was started.
    virtual void databaseInitialisationDidStart(DatabaseInitializerController *controller) = 0;
    // Error text of the engine, as it comes, and once more why the index was
    // not replaced when the rebuild fails. A failure does not end the rebuild.
    virtual void databaseInitialisationDidFailWitherror(const QString &error) = 0;
    // The rebuild has ended, replaced the index or not (indexWasReplaced).
    // Always the last callback of a run; the controller may be released
    // after it returns (deleteLater), not within it.
    virtual void databaseInitialisationDidFinish(DatabaseInitializerController *controller) = 0;
};
