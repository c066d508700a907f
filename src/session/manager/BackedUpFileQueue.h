#pragma once

#include <QVariantMap>

// Where a backup session sends each file the engine reports as stored, so that
// the drive's index learns it: the index manager in the client, a fake in tests.
class BackedUpFileQueue
{
public:
    virtual ~BackedUpFileQueue() = default;
    // The progress report of the stored file ("filename", "VersionNumber", ...).
    // Called on the main thread.
    virtual void addBackedUpFile(const QVariantMap &record) = 0;
};
