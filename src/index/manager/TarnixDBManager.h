#pragma once

#include "common/transfer/BackedUpFile.h"
#include "index/manager/IndexJournalWriter.h"
#include "index/manager/IndexManagerTimings.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QVariantMap>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class DataBaseWrapper;
class QLApplicationDelegate;

// Keeps the index of the destination drive up to date while the client works.
// Backups report each file they stored and deletes each index path they
// removed; the manager queues them and, on a thread of its own, every tick
// (and at once when the queue reaches its bound) hands what gathered to two
// writers, one journal of INSERT rows and one of DELETE rows. A writer lets
// its rows go once its journal is committed, then asks for a merge of the
// index folder's finished journals into the main index: one merge runs at a
// time, and asks made meanwhile are served by one more pass. So what waits
// for the (paced) merge is on the drive, not in memory; and while writers
// hold enough files (IndexManagerLimits), a tick's files wait in a private
// local file, in order, until a writer is done and takes them. Callers only
// take a lock and add to a queue.
//
// The main controller makes one per login (and per drive change) and hands
// itself over with setMainController, which writes the index details file and
// starts the thread; the thread first merges the journals earlier runs left.
class TarnixDBManager
{
public:
    // How many writers have been started, by kind.
    struct WriterCounts
    {
        int backedUpFiles = 0;
        int deletions = 0;
        int spilled = 0;  // of the backed-up files' batches, those that waited on disk
    };

    explicit TarnixDBManager(const IndexManagerTimings &timings = {}, const IndexManagerLimits &limits = {});
    // Stops (see stopDBOperation) and waits until the last writer has merged.
    ~TarnixDBManager();
    TarnixDBManager(const TarnixDBManager &) = delete;
    TarnixDBManager &operator=(const TarnixDBManager &) = delete;

    // Not owned; must outlive the manager. Set once. Its account, mode,
    // computer folder and data root are asked for on the manager's own
    // thread at each tick.
    void setMainController(QLApplicationDelegate *mainController);

    // A later record for the same path replaces the earlier one; in sync
    // mode the file is indexed under its relative path. Any thread.
    void addBackedUpFile(const BackedUpFile &file);
    // An index path whose rows are to go (a folder's ends in "/"). Any thread.
    void addFileToDelete(const QString &indexPath);

    // Ends the thread after one last tick, so that nothing queued so far is
    // lost; what is queued later is not written. Writers still running finish
    // and merge. Does not wait.
    void stopDBOperation();
    // For the program's end: as stopDBOperation, but merges stop before their next
    // journal (each journal's merge is whole), and what is left is merged at the next
    // start. The destruction then waits only for the journals being written.
    void stopAtSafePoint();

    // The index entries of the archive cleanup: for an index path that stands
    // for a folder on this machine, every file and folder the index holds
    // below it; for a file, the path itself when the index holds it. None when
    // the index cannot be read, so that no caller takes a failure for "not
    // indexed". On the caller's thread.
    std::optional<QStringList> getAllEntriesFromMainDBWithPathLike(const QString &indexPath);

    // One tick: snapshots the queues and starts the writers that have work.
    // The thread calls it every tickInterval; tests call it directly.
    void updaterTimer();
    // Blocks until every writer started so far has merged.
    void waitForWriters();
    WriterCounts writersStarted() const;

    // The index path of a local path under the current computer folder.
    QString ldbWindowsPathWithString(const QString &path, bool forBackup) const;

private:
    void updaterThread();
    void setLDBDetailsPList();
    // Under mBLock / mDLock: takes what is queued.
    BackedUpFiles takeBackedUpFiles(bool backupMode);
    QStringList takeFilesToDelete();
    // Merges the finished journals; a call while a merge runs is served by that merge's next pass.
    void mergeJournals(const IndexContext &context);
    // Writes the files' journal (they are counted as held until written).
    void writeCounted(const IndexContext &context, BackedUpFiles files);
    // Writes the batches waiting on disk, oldest first, while writers hold less than the bound.
    void writeSpilled(const IndexContext &context);
    // Under mStateLock: hands the tick's files to a writer, through a spill file when writers hold enough.
    void startBackedUpFilesWriter(const IndexContext &context, BackedUpFiles files);

    const IndexManagerTimings mTimings;
    const IndexManagerLimits mLimits;
    std::atomic<QLApplicationDelegate *> mMainController{nullptr};
    std::unique_ptr<DataBaseWrapper> mCommonDatabaseHandler;

    std::mutex mBLock;
    QHash<QString, StoredFileRecord> mRuvoInfo;  // local path -> what its last record says
    QHash<QString, QString> mLDBFilePaths;       // sync mode: local path -> path below the sync root
    std::mutex mDLock;
    QSet<QString> mFilesToDelete;

    mutable std::mutex mStateLock;
    std::condition_variable mWake;
    bool mStopRequested = false;  // guarded by mStateLock
    bool mTickNow = false;        // guarded by mStateLock: the queue reached its bound
    WriterCounts mWriterCounts;   // guarded by mStateLock
    std::atomic<qsizetype> mRecordsWithWriters{0};
    std::mutex mSpillLock;
    std::deque<QString> mSpilled;  // guarded by mSpillLock: batches waiting on disk, oldest first
    std::mutex mMergeStateLock;
    bool mMerging = false;     // guarded by mMergeStateLock
    bool mMergeAgain = false;  // guarded by mMergeStateLock
    std::thread mDBThread;
    QThreadPool mWriters;
};
