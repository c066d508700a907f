#pragma once

#include "client/shell/main/IndexWorker.h"
#include "index/manager/TarnixDBManager.h"

// The index manager of the index layer as the main controller's index worker.
class TarnixIndexWorker : public IndexWorker
{
public:
    void start(QLApplicationDelegate &mainController) override { mManager.setMainController(&mainController); }
    TarnixDBManager *dbManager() override { return &mManager; }

private:
    TarnixDBManager mManager;  // its destruction stops it and waits for its thread and writers
};
