#pragma once

#include "txruvo/EngineTimings.h"
#include "txruvo/LineWriter.h"
#include "txruvo/PendingLines.h"
#include "txruvo/ProgressLine.h"

#include <QElapsedTimer>
#include <QMutex>

class Scenario;

// What a backup or restore run tells the client: progress lines in the
// "--o=" file, carrying the run totals, and error lines in the "--e=" file,
// in the forms the client recognises. Safe to use from several threads; the
// lines of one run never interleave and their totals only grow.
class RunReport
{
public:
    RunReport(const Scenario &scenario, const EngineTimings &timings);

    // Creates or truncates both files; on failure the path and the reason in *error.
    bool open(const QString &outputPath, const QString &errorPath, QString *error);

    // One error line (its line breaks written as "?").
    void error(const QString &message);
    // "IOERROR: [<path>], : <reason>", the per-file error form the client
    // counts; ", :" inside the path or the reason is written ",?:", so the
    // client's split at the first ", :" finds the whole path.
    void fileError(const QString &path, const QString &reason);
    // The same for a system error number.
    void fileError(const QString &path, int error);

    // A progress line with the run totals; skippedBytes (an unchanged file's
    // size) is counted first.
    void progress(const ProgressLine &line, ProgressLine::Kind kind, quint64 skippedBytes = 0);
    // The same for lines made beforehand, in their order, under one turn of
    // the lock; `lines` is emptied.
    void progress(PendingLines &lines);
    // Whether each line must be written as it comes (a scenario shapes
    // them one by one), rather than made beforehand.
    bool writesEachLine() const;
    // How long a line may wait before it is written.
    std::chrono::milliseconds lineHold() const { return mLineHold; }
    // One output line of a listing (index rebuild), as it stands.
    void listing(const QString &line);
    // Counts copied bytes; with `line`, also writes that in-progress line.
    void copied(quint64 bytes, const ProgressLine *line, ProgressLine::Kind kind);

    // Progress lines are written a few at a time (without a scenario); these
    // write the held ones when they waited long enough, or now.
    void flushIfDue();
    void flush();

private:
    // The line with this run's totals (under the lock).
    ProgressLine withTotals(const ProgressLine &line) const;
    // The run's average rate, "%.2f kB/s" and the like (under the lock).
    QByteArray currentRate() const;
    void writeProgress(const ProgressLine &line, ProgressLine::Kind kind);

    const Scenario &mScenario;
    std::chrono::milliseconds mLineHold;
    QElapsedTimer mClock;
    QMutex mLock;  // guards what follows
    LineWriter mOut;
    LineWriter mErr;
    quint64 mTransferred = 0;
    quint64 mSkipped = 0;
    // The last rate formatted, and what it was formatted from.
    mutable QByteArray mRate;
    mutable quint64 mRateTransferred = 0;
    mutable qint64 mRateElapsedMs = 0;
};
