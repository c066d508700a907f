#include "session/progress/ProgressFigures.h"

#include <array>
#include <charconv>
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

double fieldNumber(QStringView text)
{
    // Plain decimals, nearly every field and rate, are read here rather than
    // by the general conversion: a session reads thousands of lines a second.
    // Anything else (blanks, exponents, a sign "+") goes to the general one.
    std::array<char, 32> plain;
    const qsizetype length = text.size();
    if (length == 0 || length > qsizetype(plain.size()))
        return text.toDouble();
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = text[i].unicode();
        if ((c < u'0' || c > u'9') && c != u'.' && c != u'-')
            return text.toDouble();
        plain[i] = char(c);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + length, value, std::chars_format::fixed);
    if (error != std::errc() || end != plain.data() + length)
        return text.toDouble();
    return value;
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
    return fieldNumber(number) * factor;
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
