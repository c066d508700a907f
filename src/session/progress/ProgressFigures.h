#pragma once

#include <QString>
#include <QStringList>

// The figures of a session's progress reports that come from the engine's
// progress lines: the transfer mode, the average speed and the time left.
namespace ProgressFigures {

// "[Full Backup]", "[Incremental Restore]", ... from the line's trf_type; "[Sync File]" for anything else.
QString transferMode(const QString &trfType, bool isRestore);
inline const QString kSyncFileMode = QStringLiteral("[Sync File]");

// Seconds left at the pace so far: elapsed × remaining / done; 5 while nothing is done.
long calculateEstimatedTime(double remainingBytes, double doneBytes, long elapsedSeconds);

// A number field of a progress line ("1536", "12.5"); a field that is no number counts as 0.
double fieldNumber(QStringView text);

// A rate text of the engine ("1.20 MB/s") in bytes per second; a rate without a
// known unit counts as bytes per second.
double rateInBytesPerSecond(const QString &rate);

}  // namespace ProgressFigures

// The last ten transfer rates an engine reported; their average is the speed shown.
class TransferSpeedHistory
{
public:
    static constexpr int kSamples = 10;
    // Shown while no rate is known yet (400 Kb/s).
    static constexpr double kDefaultSpeed = 51200.0;

    void add(const QString &rate);
    // The mean of the samples kept, in bytes per second.
    double calulateAverageTransferSpeed() const;
    void clear();

private:
    QList<double> mTransferSpeedValueArray;  // bytes per second, each rate read once
    int transferSpeedAddCounter = 0;
};
