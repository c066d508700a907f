#pragma once

#include "txruvo/CommandLine.h"
#include "txruvo/ControlFiles.h"
#include "txruvo/DurableBatch.h"
#include "txruvo/EngineTimings.h"
#include "txruvo/FileCopier.h"
#include "txruvo/ListFile.h"
#include "txruvo/ProgressLine.h"
#include "txruvo/RunReport.h"
#include "txruvo/Scenario.h"
#include "txruvo/SharedSync.h"

#include <QElapsedTimer>
#include <QMutex>

#include <unistd.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// What backup and restore runs share: the checks before the run (vector,
// drive, credentials, list), the report, the control files, the scenario's
// hooks and the loop over the list, on one or several threads. Its members
// may be called from several worker threads at once.
class SessionRun
{
public:
    // The run ended early; its exit status.
    struct Stop
    {
        int exitStatus;
    };

    SessionRun(const CommandLine &commandLine, const Scenario &scenario, const EngineTimings &timings = {},
               DurableBatch::FileSystemSync sync = ::syncfs);

    // Opens the files, checks the vector, the drive and the credentials and
    // reads the list. On failure the reason is written and the exit status returned.
    std::optional<Stop> prepare();

    const CommandLine &commandLine() const { return mCommandLine; }
    const QString &dataRoot() const { return mDataRoot; }
    const EngineTimings &timings() const { return mTimings; }
    // How copies wait for their sync. A scenario run makes each copy durable
    // and reports it before the next entry, so its pacing and early ends act
    // file by file.
    DurableBatch::Rules batchRules()
    {
        return {mTimings.syncHold, mScenario.active ? SyncBatchLimits{1, 0} : SyncBatchLimits{},
                [this](int fileSystemFd) { return mSync->sync(fileSystemFd); }, [this] { return cancelRequested(); }};
    }
    // The same for copies that each hold a file open until they are named:
    // the batches of `threads` threads together stay within the number of
    // files the process may hold open.
    DurableBatch::Rules openCopyBatchRules(int threads);
    DriveBudget &driveBudget() { return mDriveBudget; }

    // What handles the list entries on one thread.
    class Worker
    {
    public:
        virtual ~Worker() = default;
        virtual std::optional<Stop> handle(const ListEntry &entry) = 0;
        // Completes the work held back (pending copies) after its last entry,
        // or before the scenario ends the run; dropped on cancel or failure.
        virtual std::optional<Stop> finish() { return std::nullopt; }
    };
    using WorkerFactory = std::function<std::unique_ptr<Worker>()>;
    // How many threads copy: creating files is mostly waiting on the file
    // system, which several threads can share.
    static int copyThreads();
    // Handles every list entry, on up to `workers` threads, each with a
    // worker of its own. The entries of one folder always go to the same
    // thread (so one item never meets two threads, and a folder's state is
    // kept by one worker); a single worker, or any worker of a scenario
    // run, goes through the list in order on this thread, so its effects
    // follow the list. Answers the exit status.
    int forEachEntry(int workers, const WorkerFactory &makeWorker);

    // The scenario's per-file failure for this entry, written as one when set.
    bool failedByScenario(const QString &entry);

    RunReport &report() { return mReport; }
    // A run-ending error; returns the status to exit with.
    Stop fatal(const QString &message);
    // The drive (or the restore target) has no room left: ends the run.
    Stop driveFull();
    // Syncs, commits and reports the batch's copies; a failed sync ends the
    // run, and so does a commit that stopped it (with commitStop).
    std::optional<Stop> flush(DurableBatch &batch, std::optional<Stop> commitStop);
    // A failed copy: a per-file error, or the end of the run.
    std::optional<Stop> copyFailed(const QString &entry, const FileCopier &copier);

    // What a copy calls after each chunk: counts the bytes, writes an
    // in-progress line now and then (from `file`, a line of this file) and
    // answers whether to go on.
    FileCopier::ChunkCallback chunkReporter(const ProgressLine &file, ProgressLine::Kind kind);

private:
    std::optional<Stop> checkCredentials();
    // Before each list entry: the scenario's early end, or the user's cancel.
    std::optional<Stop> beforeEntry(int index, Worker &worker);
    // The entry indexes of each folder, largest folder first.
    QList<QList<qsizetype>> entriesByFolder() const;
    // Takes the next folder not yet taken by any thread, until none is left.
    void handleFolders(const QList<QList<qsizetype>> &folders, std::atomic<qsizetype> &nextFolder, Worker &worker);
    // Status of a run that went through its whole list.
    int finish(Worker &worker);
    bool cancelRequested();

    const CommandLine &mCommandLine;
    const Scenario &mScenario;
    EngineTimings mTimings;
    std::unique_ptr<SharedSync> mSync;  // the threads' batches share their syncs
    RunReport mReport;
    ControlFiles mControl;
    QString mDataRoot;
    ListFile mList;
    DriveBudget mDriveBudget;

    QMutex mStopLock;
    std::optional<Stop> mStop;  // the first early end of any worker
    std::atomic_bool mStopping = false;
};
