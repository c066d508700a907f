#pragma once

#include "txruvo/EngineTimings.h"
#include "txruvo/FileCopier.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Copies that are written but not yet durable. A copy gets its real name
// only after its data reached the drive, and is reported only after its
// name did: the batch waits until it is full (files, bytes or age), then
// one sync of each file system makes the data of all its copies durable,
// each copy is committed (renamed into place, with what goes with it), a
// second sync makes the names durable, and only then are the copies
// reported. One sync per batch instead of one per file keeps small files
// cheap. Used by one thread.
class DurableBatch
{
public:
    enum class Outcome
    {
        Committed,
        Failed,
        Stop
    };
    struct Entry
    {
        std::unique_ptr<FileCopier> copy;  // the written copy, under its temporary name
        std::function<Outcome()> commit;   // gives it its real name; reports its own failure
        std::function<void()> report;      // its completion line
        quint64 bytes = 0;
    };
    // The sync failed: errno says why.
    struct SyncFailure
    {
        int error;
    };
    // Makes what was written to one file system durable: 0, or -1 with errno
    // set (syncfs; tests watch the order of the steps through it).
    using FileSystemSync = std::function<int(int fileSystemFd)>;
    struct Rules
    {
        std::chrono::milliseconds hold;  // how long a finished copy may wait
        SyncBatchLimits limits;
        FileSystemSync sync;
        // Whether the client cancelled the run (the cancel file): asked after
        // the first sync and before each naming, since a sync may take long.
        std::function<bool()> cancelled;
    };

    explicit DurableBatch(Rules rules);

    // Adds a written copy on the file system of `fileSystemFd`.
    void add(Entry entry, int fileSystemFd);
    bool isDue() const;
    // How a flush ended short of its last copy.
    enum class Cut
    {
        None,
        Stopped,
        Cancelled
    };
    // Syncs, commits and reports every copy of the batch. Stops at the first
    // commit that answers Stop, or at a cancel (the rest are dropped; what
    // was named already is still made durable and reported).
    std::optional<SyncFailure> flush(Cut *cut);
    // Drops every copy: none gets its real name or a line.
    void discard();

private:
    bool syncAll();

    Rules mRules;
    std::vector<Entry> mEntries;
    QList<int> mFileSystems;  // a descriptor on each file system with copies in the batch
    quint64 mBytes = 0;
    QElapsedTimer mOldest;
};
