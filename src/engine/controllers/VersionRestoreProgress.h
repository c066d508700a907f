#pragma once

#include "common/transfer/ProgressReport.h"

#include <QString>

#include <functional>

class FileTransferData;
class TXVersion;

// The figures a version restore shows while it runs: the name of the
// version in the engine's list, the remaining-time estimate and the progress
// report built from the engine's progress lines.
namespace VersionRestoreProgress {

// The stored path followed by "_QLVER" and the version in at least three digits.
QString targetName(const QString &storedPath, int version);

// Draws a whole number in [low, high]; tests pass a fixed one.
using Draw = std::function<qint64(qint64 low, qint64 high)>;
qint64 uniformDraw(qint64 low, qint64 high);

// Whole seconds left when `transferred` of `transferred + remaining` bytes took
// `elapsed` seconds: 5 when no estimate can be made, a figure of 8 to 12
// hours for anything longer than 12 hours.
qint64 calculateEstimatedTime(double remaining, double transferred, qint64 elapsed, const Draw &draw = uniformDraw);

// Updates the report from one progress line: `transferred` is the run's
// byte count so far (from the line), `elapsed` whole seconds since the start.
void update(ProgressReport &progress, const FileTransferData &line, const TXVersion &version, double transferred,
            qint64 elapsed, const Draw &draw = uniformDraw);

}  // namespace VersionRestoreProgress
