#include "session/progress/ProgressFigures.h"

#include <cmath>
#include <limits>

namespace ProgressFigures {

QString transferMode(const QString &trfType, bool isRestore)
{
    if (trfType.startsWith(QLatin1String("FULL")) || trfType.startsWith(QLatin1String("Full Backup")))
        return isRestore ? QStringLiteral("[Full Restore]") : QStringLiteral("[Full Backup]");
    if (trfType.startsWith(QLatin1String("INCREMENTAL")) || trfType.startsWith(QLatin1String("Incremental Backup")))
        return isRestore ? QStringLiteral("[Incremental Restore]") : QStringLiteral("[Incremental Backup]");
    return kSyncFileMode;
}

long calculateEstimatedTime(double remainingBytes, double doneBytes, long elapsedSeconds)
{
    constexpr long kNothingDoneYet = 5;
    if (doneBytes <= 0)
        return kNothingDoneYet;
    const double seconds = double(elapsedSeconds) * remainingBytes / doneBytes;
    if (!std::isfinite(seconds) || seconds < 1 || seconds > double(std::numeric_limits<long>::max()))
        return kNothingDoneYet;
    return long(seconds);
}

double fieldNumber(const QString &text)
{
    // Whole numbers, nearly every field, are read here rather than by the
    // general conversion: a session reads thousands of lines a second.
    constexpr qsizetype kExactDigits = 15;  // any such whole number is an exact double
    if (text.isEmpty() || text.size() > kExactDigits)
        return text.toDouble();
    quint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return text.toDouble();
        value = value * 10 + (c.unicode() - u'0');
    }
    return double(value);
}

double rateInBytesPerSecond(const QString &rate)
{
    const QStringView text = QStringView(rate).trimmed();
    double factor = 1;
    if (text.endsWith(QLatin1String("kB/s")))
        factor = 1024.0;
    else if (text.endsWith(QLatin1String("MB/s")))
        factor = 1024.0 * 1024.0;
    else if (text.endsWith(QLatin1String("GB/s")))
        factor = 1024.0 * 1024.0 * 1024.0;
    const qsizetype blank = text.indexOf(u' ');
    const QStringView number = blank < 0 ? text : text.left(blank);
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value * factor : 0;
}

}  // namespace ProgressFigures

void TransferSpeedHistory::add(const QString &rate)
{
    const int slot = transferSpeedAddCounter % kSamples;
    if (slot < mTransferSpeedValueArray.size())
        mTransferSpeedValueArray.removeAt(slot);
    mTransferSpeedValueArray.insert(slot, ProgressFigures::rateInBytesPerSecond(rate));
    ++transferSpeedAddCounter;
}

double TransferSpeedHistory::calulateAverageTransferSpeed() const
{
    double sum = 0;
    for (const double rate : mTransferSpeedValueArray)
        sum += rate;
    return sum > 0 ? sum / double(mTransferSpeedValueArray.size()) : kDefaultSpeed;
}

void TransferSpeedHistory::clear()
{
    mTransferSpeedValueArray.clear();
    transferSpeedAddCounter = 0;
}
