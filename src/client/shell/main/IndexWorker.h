#pragma once

#include <functional>
#include <memory>

class QLApplicationDelegate;
class TarnixDBManager;

// The local index manager of the logged-in user and destination drive, as the
// main controller holds it: started with the main controller, and stopped by
// its destruction, which waits until its thread and writers have ended.
class IndexWorker
{
public:
    virtual ~IndexWorker() = default;

    // Starts the worker's thread (and the merge of what earlier runs left).
    virtual void start(QLApplicationDelegate &mainController) = 0;
    // The manager itself, for the callers that queue files to it.
    virtual TarnixDBManager *dbManager() = 0;
};

using IndexWorkerFactory = std::function<std::unique_ptr<IndexWorker>()>;
