#pragma once

#include "common/account/User.h"
#include "common/proxy/ProxyController.h"
#include "engine/controllers/RuvoSearchControllerDelegateProtocol.h"
#include "index/IndexEntry.h"
#include "index/IndexTimings.h"

#include <QStringList>
#include <QVariantMap>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

// A restore's selection: the drive's index is searched for every file of each
// picked folder and for each picked file, and the engine-side paths found are
// handed on in batches, with no exclusion filtering. Rows arrive and batches
// are handed on on the search's thread; each search moves to its next pick on
// the main thread, and listing is over only once both searches have passed
// their last pick.
class RestoreSelection : private RuvoSearchControllerDelegateProtocol
{
public:
    // What the selection asks of its session.
    struct Hooks
    {
        // Runs the work on the main thread, unless the session has ended by then.
        std::function<void(std::function<void()>)> toSession;
        // A batch of engine-side paths, with their count and bytes; on the search's thread.
        std::function<void(const QStringList &lines, quint64 bytes)> found;
        // A pick that found nothing; main thread.
        std::function<void(const QString &root)> emptyPick;
        // A search of the index is about to open it; main thread.
        std::function<void()> searchStarts;
        // Both searches have passed their last pick; main thread, once.
        std::function<void()> listed;
    };

    // What one search row of the index makes of a file to restore:
    // "mpcName/folderID/encFilename" in backup mode, "/folderID/encFilename" in
    // sync mode; none for a folder's record (its name ends in "/").
    static std::optional<QString> restoreListLine(const IndexEntry &entry, bool backupMode);

    RestoreSelection(IndexTimings timings, const std::atomic<bool> &cancelled, Hooks hooks);
    // Waits for a search result being handed over: none reaches the session once it is gone.
    ~RestoreSelection() override;

    // Folders relative to the data root (with or without a leading "/"), files as their index paths.
    void start(const QStringList &folders, const QStringList &files, const User &user, const ProxyController &proxy,
               bool backupMode);
    void cancel();
    // The first search failure, as the session's end message; none while every search succeeded.
    const std::optional<QString> &failure() const { return mFailure; }

private:
    // One of the two searches: over the picked folders, or over the picked files.
    struct Search
    {
        std::unique_ptr<RuvoSearchController> controller;
        QStringList picks;
        qsizetype next = 0;        // the pick being searched
        qsizetype rowsBefore = 0;  // the search's rows before this pick
        bool done = true;
    };

    void begin(Search &search, const QStringList &picks, int opType, const User &user, const ProxyController &proxy);
    void searchNextPick(Search &search);
    void searchDidReceiveData(const IndexEntries &rows, RuvoSearchController *controller) override;
    void searchDidFinishSuccessfully(RuvoSearchController *controller) override;
    void searchDidFailWithError(const QString &error, RuvoSearchController *controller) override;
    void searchDidCancel(RuvoSearchController *controller) override;
    void flush();
    void searchEnded(RuvoSearchController *controller, const std::optional<QString> &failure);
    void listedIfDone();

    // Found paths are handed on this many at a time.
    static constexpr qsizetype kBatch = 10000;

    const IndexTimings mTimings;
    const std::atomic<bool> &mCancelled;
    Hooks mHooks;
    bool mBackupMode = true;
    bool mListed = false;
    std::optional<QString> mFailure;
    std::array<Search, 2> mSearches;  // folders, files
    std::mutex mQueueLock;            // guards the three below
    QStringList mQueue;
    quint64 mQueuedBytes = 0;
};
