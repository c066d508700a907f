#pragma once

#include "CommandLine.h"
#include "ControlFiles.h"
#include "FileCopier.h"
#include "LineWriter.h"
#include "ListFile.h"
#include "ProgressLine.h"
#include "Scenario.h"

#include <QElapsedTimer>

#include <optional>

// What backup and restore runs share: the output ("--o=") and error
// ("--e=") files, the control files, the list, the credentials check, the
// run totals and the scenario's hooks. Every message goes to those files in
// the forms the client recognises; nothing significant goes to stdout.
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
    const Scenario &scenario() const { return mScenario; }
    const QList<ListEntry> &entries() const { return mEntries; }
    const QString &dataRoot() const { return mDataRoot; }
    ControlFiles &control() { return mControl; }
    std::optional<quint64> *driveBudget() { return &mDriveBudget; }

    // Before each list entry: the scenario's early end, or the user's cancel.
    std::optional<Stop> beforeEntry(int index);
    // The scenario's per-file failure for this entry, written as one when set.
    bool failedByScenario(const QString &entry);
    // Status of a run that went through its whole list.
    int finish();

    // "IOERROR: [<path>], : <reason>", the per-file error form the client counts.
    void fileError(const QString &path, const QString &reason);
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

    // Writes one progress line, filling in the run totals.
    void progress(ProgressLine line, ProgressLine::Kind kind);
    void addTransferred(quint64 bytes) { mTransferred += bytes; }
    void addSkipped(quint64 bytes) { mSkipped += bytes; }

private:
    std::optional<Stop> checkCredentials();

    const CommandLine &mCommandLine;
    const Scenario &mScenario;
    LineWriter mOut;
    LineWriter mErr;
    ControlFiles mControl;
    QString mDataRoot;
    QList<ListEntry> mEntries;
    std::optional<quint64> mDriveBudget;
    quint64 mTransferred = 0;
    quint64 mSkipped = 0;
    QElapsedTimer mClock;
};
