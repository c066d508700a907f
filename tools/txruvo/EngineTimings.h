#pragma once

#include <QtGlobal>

#include <chrono>

// How long the engine lets finished work wait, and how often it looks up.
struct EngineTimings
{
    // Progress lines are written whole, several in one write, at most this late.
    std::chrono::milliseconds lineHold{250};
    // Finished copies wait at most this long for the sync that makes them durable.
    std::chrono::milliseconds syncHold{1000};
    // A long copy reports its progress this often.
    std::chrono::milliseconds progressInterval{500};
    // The cancel and bandwidth files are read at most this often...
    std::chrono::milliseconds controlPoll{100};
    // ...and this often while the client holds the run paused.
    std::chrono::milliseconds pausedPoll{100};
};

// How much finished work may wait for one sync of the drive.
struct SyncBatchLimits
{
    qsizetype files = 2000;
    quint64 bytes = quint64(512) << 20;
};
