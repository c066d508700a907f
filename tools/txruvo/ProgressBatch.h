#pragma once

#include "txruvo/PendingLines.h"
#include "txruvo/RunReport.h"

// The completion lines of one worker thread, handed to the run's report a
// few dozen at a time: the report's lock is taken once for many files, not
// once per file (threads that each find an unchanged file every few
// microseconds would otherwise queue for it). Lines wait here no longer
// than the report lets lines wait anyway; a scenario's lines go straight
// through, since it shapes them one by one.
class ProgressBatch
{
public:
    explicit ProgressBatch(RunReport &report);
    ~ProgressBatch();
    ProgressBatch(const ProgressBatch &) = delete;
    ProgressBatch &operator=(const ProgressBatch &) = delete;

    void add(const ProgressLine &line, ProgressLine::Kind kind, quint64 skippedBytes = 0);
    // Hands the waiting lines over now (before work that may take long).
    void flush();

private:
    RunReport &mReport;
    PendingLines mLines;
};
