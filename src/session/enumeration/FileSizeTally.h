#pragma once

#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// Adds up the sizes of listed files on a thread of its own. A backup walk
// lists files without measuring them (a status call per file would be most of
// its time) and hands the files it keeps here, so that neither the walk nor
// the engines waiting for list blocks wait for the measuring.
class FileSizeTally
{
public:
    // At most this many paths wait to be measured; add() waits while more do,
    // so that memory stays bounded however large the tree.
    static constexpr qsizetype kMaxWaitingPaths = 20000;

    // Sizes are added to total as they are measured.
    explicit FileSizeTally(std::atomic<quint64> &total);
    // Stops measuring; paths still waiting are dropped.
    ~FileSizeTally();

    void add(const QStringList &paths);
    // Returns once every path added so far is counted.
    void waitUntilCounted();

private:
    void measureWhatWaits();

    std::atomic<quint64> &mTotal;
    std::mutex mLock;  // guards the fields below
    std::condition_variable mChanged;
    std::deque<QStringList> mWaiting;
    qsizetype mWaitingPaths = 0;  // in mWaiting and in the list being measured
    std::atomic<bool> mStopping{false};
    std::thread mThread;
};
