#pragma once

#include "index/IndexTimings.h"

#include <QString>

#include <functional>
#include <memory>
#include <mutex>

class TXDatabaseWrapper;
class TXDatabaseWrapperDelegate;

// The index query of a controller that answers from the account's main index
// instead of the engine. Each query runs on a worker thread of its own, with
// an index connection of its own, so a slow, locked or broken index never
// holds up the caller; the receiver hears the result on that worker thread.
//
// A controller declares its query as its last member, so that it goes first:
// once it is destroyed, or replaced by a new query, no result of the earlier
// query reaches the receiver, and that query runs to its end on its own.
class IndexQuery
{
public:
    using Query = std::function<void(TXDatabaseWrapper &)>;

    // The waits of the index connections the queries make.
    explicit IndexQuery(IndexTimings timings = {})
        : mTimings(timings)
    {}
    ~IndexQuery();
    IndexQuery(const IndexQuery &) = delete;
    IndexQuery &operator=(const IndexQuery &) = delete;

    // Opens the main index of indexUser in the application's index folder
    // (LDBFolder) and runs the query on it. Without an index folder (no
    // destination drive or no user set) nothing is opened, and the query
    // reports the index as unreadable, as it does for an index that will not
    // open. Without an index user the receiver hears queryFailedWithError
    // with ControllerTexts::kNoIndexUser instead, from the worker thread too.
    void start(const QString &indexUser, TXDatabaseWrapperDelegate &receiver, Query query);
    // No further result of the current query reaches its receiver once this
    // returns (it waits for one being handed over on another thread); called
    // from inside a result, none after that one. A query that hands its rows
    // over as they come stops reading at its next batch.
    void stop();

private:
    class Relay;

    IndexTimings mTimings;
    std::mutex mLock;
    std::shared_ptr<Relay> mCurrent;
};
