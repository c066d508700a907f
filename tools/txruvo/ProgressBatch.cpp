#include "txruvo/ProgressBatch.h"

namespace {

// Enough to make the lock rare, few enough to keep the lines moving.
constexpr qsizetype kLinesPerHandOver = 64;

}  // namespace

ProgressBatch::ProgressBatch(RunReport &report)
    : mReport(report)
{}

ProgressBatch::~ProgressBatch() { flush(); }

void ProgressBatch::add(const ProgressLine &line, ProgressLine::Kind kind, quint64 skippedBytes)
{
    if (mReport.writesEachLine()) {
        mReport.progress(line, kind, skippedBytes);
        return;
    }
    mLines.add(line, kind, skippedBytes);
    if (mLines.count() >= kLinesPerHandOver ||
        std::chrono::steady_clock::now() - mLines.firstAddedAt() >= mReport.lineHold())
        flush();
}

void ProgressBatch::flush() { mReport.progress(mLines); }
