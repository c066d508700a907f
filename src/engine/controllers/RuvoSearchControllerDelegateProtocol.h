#pragma once

#include "index/IndexEntry.h"

#include <QString>

class RuvoSearchController;

// What a search over the index tells its delegate. All but searchDidStart
// arrive on the search's worker thread: a delegate that changes views or
// starts engine runs moves that work to the main thread itself. Every search
// ends with exactly one of searchDidFinishSuccessfully (after at least one
// searchDidReceiveData), searchDidFailWithError or searchDidCancel. A key
// search hands its rows over in several searchDidReceiveData as they are
// read, in order, each row once; a cancel or a failure may then follow some
// of them. Every other search delivers its rows in one.
class RuvoSearchControllerDelegateProtocol
{
public:
    virtual ~RuvoSearchControllerDelegateProtocol() = default;

    // On the thread that started the search.
    virtual void searchDidStart(RuvoSearchController *) {}
    // Result entries (possibly none), unchanged from the index.
    virtual void searchDidReceiveData(const IndexEntries &rows, RuvoSearchController *search) = 0;
    virtual void searchDidFinishSuccessfully(RuvoSearchController *search) = 0;
    virtual void searchDidFailWithError(const QString &error, RuvoSearchController *search) = 0;
    // The search was cancelled before its result came; the result was dropped.
    virtual void searchDidCancel(RuvoSearchController *search) = 0;
};
