#include "common/utility/QLUtility.h"

#include <array>
#include <charconv>
#include <cmath>

namespace {

constexpr quint64 kKilo = 1024;
constexpr quint64 kMega = kKilo * 1024;
constexpr quint64 kGiga = kMega * 1024;
// A zero transfer rate is shown as this many bits rather than as nothing at all.
constexpr quint64 kZeroRateBits = 51200;

using Count = unsigned __int128;  // a 64-bit byte count times 8 still fits

// count / divisor rounded to two places, halves away from zero, as plain
// decimal text without trailing zeros. Exact: the divisors are even.
QString twoPlaceQuotient(Count count, quint64 divisor)
{
    const auto hundredths = static_cast<quint64>((count * 100 + divisor / 2) / divisor);
    QString text = QString::number(hundredths / 100);
    const quint64 fraction = hundredths % 100;
    if (fraction % 10 != 0)
        text += QString::asprintf(".%02llu", fraction);
    else if (fraction != 0)
        text += '.' + QString::number(fraction / 10);
    return text;
}

// "<figure> <unit>" in the largest binary unit up to the fourth name; counts
// below 1024 stay whole in the first.
QString binaryUnitText(Count count, const std::array<const char *, 4> &unitNames)
{
    if (count < kKilo)
        return QString::number(quint64(count)) + ' ' + QLatin1String(unitNames[0]);
    const quint64 divisor = count < kMega ? kKilo : count < kGiga ? kMega : kGiga;
    const char *unit = unitNames[divisor == kKilo ? 1 : divisor == kMega ? 2 : 3];
    return twoPlaceQuotient(count, divisor) + ' ' + QLatin1String(unit);
}

// printf's "%.<places>lf" in the C locale, whatever the process locale is.
QString fixedPlaces(double value, int places)
{
    std::array<char, 400> buffer{};  // room for the largest double in fixed notation
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, places);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

}  // namespace

QString QLUtility::formatedFileSizeForOutlineView(double size)
{
    if (std::isnan(size))
        return {};
    if (size < double(kKilo))
        return fixedPlaces(size, 0) + " B";
    if (size < double(kMega))
        return fixedPlaces(size / double(kKilo), 2) + " KB";
    if (size < double(kGiga))
        return fixedPlaces(size / double(kMega), 2) + " MB";
    return fixedPlaces(size / double(kGiga), 2) + " GB";
}

QString QLUtility::formatedFileSizeAsString(std::optional<quint64> size)
{
    if (!size)
        return QStringLiteral("0 B");
    return binaryUnitText(*size, {"B", "KB", "MB", "GB"});
}

QString QLUtility::formatedFileSizeInBits(std::optional<quint64> size)
{
    if (!size)
        return QStringLiteral("1 B");
    const Count bits = *size == 0 ? Count(kZeroRateBits) : Count(*size) * 8;
    return binaryUnitText(bits, {"B", "Kb", "Mb", "Gb"});
}
