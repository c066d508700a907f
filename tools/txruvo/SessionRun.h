#pragma once

#include "txruvo/CommandLine.h"
#include "txruvo/ControlFiles.h"
#include "txruvo/FileCopier.h"
#include "txruvo/ListFile.h"
#include "txruvo/ProgressLine.h"
#include "txruvo/RunReport.h"
#include "txruvo/Scenario.h"

#include <QElapsedTimer>
#include <QMutex>

#include <atomic>
#include <functional>
#include <optional>

// What backup and restore runs share: the checks before the run (vector,
// drive, credentials, list), the report, the control files, the scenario's
// hooks and the loop over the list, on one or several threads. Its members
// may be called from several worker threads at once.
class SessionRun
{
public:
    // The run ended early; its exit status.
    struct Stop { int exitStatus; };

    SessionRun(const CommandLine &commandLine, const Scenario &scenario);

    // Opens the files, checks the vector, the drive and the credentials and
    // reads the list. On failure the reason is written and the exit status returned.
    std::optional<Stop> prepare();

    const CommandLine &commandLine() const { return mCommandLine; }
    const QString &dataRoot() const { return mDataRoot; }
    DriveBudget &driveBudget() { return mDriveBudget; }

    using EntryHandler = std::function<std::optional<Stop>(const ListEntry &)>;
    // Handles every list entry, on up to `workers` threads (one entry, and
    // so one item, always on the same thread; a scenario run always on one,
    // so its effects follow the list), and answers the exit status.
    int forEachEntry(int workers, const EntryHandler &handle);

    // The scenario's per-file failure for this entry, written as one when set.
    bool failedByScenario(const QString &entry);

    RunReport &report() { return mReport; }
    // A run-ending error; returns the status to exit with.
    Stop fatal(const QString &message);
    // The drive (or the restore target) has no room left: ends the run.
    Stop driveFull();
    // A failed copy: a per-file error, or the end of the run.
    std::optional<Stop> copyFailed(const QString &entry, const FileCopier &copier);

    // What a copy calls after each chunk: counts the bytes, writes an
    // in-progress line now and then (from `file`, a line of this file) and
    // answers whether to go on.
    FileCopier::ChunkCallback chunkReporter(const ProgressLine &file, ProgressLine::Kind kind);

private:
    std::optional<Stop> checkCredentials();
    // Before each list entry: the scenario's early end, or the user's cancel.
    std::optional<Stop> beforeEntry(int index);
    void handleShare(int worker, int workers, const EntryHandler &handle);
    // Status of a run that went through its whole list.
    int finish();
    bool cancelRequested();

    const CommandLine &mCommandLine;
    const Scenario &mScenario;
    RunReport mReport;
    ControlFiles mControl;
    QString mDataRoot;
    QList<ListEntry> mEntries;
    DriveBudget mDriveBudget;

    QMutex mStopLock;
    std::optional<Stop> mStop;  // the first early end of any worker
    std::atomic_bool mStopping = false;
};
