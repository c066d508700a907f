#pragma once

#include "common/transfer/BackedUpFile.h"

// Where a backup session sends each file the engine reports as stored, so that
// the drive's index learns it: the index manager in the client, a fake in tests.
class BackedUpFileQueue
{
public:
    virtual ~BackedUpFileQueue() = default;
    // Called on the main thread.
    virtual void addBackedUpFile(const BackedUpFile &file) = 0;
};
