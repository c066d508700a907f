#pragma once

#include <QString>

class RuvoDeleteController;

// What a delete tells its delegate. deleteDidStart comes on the caller's
// thread; everything else on the main thread. An operation ends with
// deleteDidFinishSuccessfully, deleteDidCancel, or the failure of its last
// set; each set that fails reports its own deleteDidFailWithError.
class RuvoDeleteControllerDelegateProtocol
{
public:
    virtual ~RuvoDeleteControllerDelegateProtocol() = default;

    virtual void deleteDidStart(RuvoDeleteController *) {}
    // An item is gone from the drive: the path the engine reported, or the
    // item's index path where the engine could only name it by its stored name.
    virtual void deleteDidReceiveData(const QString &path) = 0;
    virtual void deleteDidFinishSuccessfully(RuvoDeleteController *controller) = 0;
    virtual void deleteDidFailWithError(const QString &error, RuvoDeleteController *controller) = 0;
    // An item the engine could not delete, with its reason; named as above.
    virtual void deleteDidReceiveErrors(const QString &error, const QString &path) = 0;
    virtual void deleteDidCancel(RuvoDeleteController *controller) = 0;
};
