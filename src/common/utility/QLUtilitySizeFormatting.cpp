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

// Progress reports format several sizes per engine line, thousands of lines a
// second: the texts are put together in a buffer and made a string once.
class TextBuffer
{
public:
    void append(quint64 number) { mEnd = std::to_chars(mEnd, mBuffer.end(), number).ptr; }
    void append(char c) { *mEnd++ = c; }
    void append(const char *text)
    {
        while (*text)
            *mEnd++ = *text++;
    }
    QString text() const { return QString::fromLatin1(mBuffer.data(), mEnd - mBuffer.data()); }

private:
    std::array<char, 48> mBuffer{};  // the longest: 20 digits, ".99", a blank and a unit
    char *mEnd = mBuffer.data();
};

// count / divisor in hundredths, halves away from zero. Exact: the divisors are
// even; 128-bit arithmetic only where count * 100 would not fit in 64 bits.
quint64 hundredthsOf(Count count, quint64 divisor)
{
    constexpr Count kFitsIn64Bits = Count(1) << 57;
    if (count < kFitsIn64Bits)
        return (quint64(count) * 100 + divisor / 2) / divisor;
    return static_cast<quint64>((count * 100 + divisor / 2) / divisor);
}

// count / divisor rounded to two places, as plain decimal text without trailing zeros.
void appendTwoPlaceQuotient(TextBuffer &out, Count count, quint64 divisor)
{
    const quint64 hundredths = hundredthsOf(count, divisor);
    out.append(hundredths / 100);
    const quint64 fraction = hundredths % 100;
    if (fraction == 0)
        return;
    out.append('.');
    out.append(fraction / 10);
    if (fraction % 10 != 0)
        out.append(fraction % 10);
}

// "<figure> <unit>" in the largest binary unit up to the fourth name; counts
// below 1024 stay whole in the first.
QString binaryUnitText(Count count, const std::array<const char *, 4> &unitNames)
{
    TextBuffer out;
    if (count < kKilo) {
        out.append(quint64(count));
        out.append(' ');
        out.append(unitNames[0]);
        return out.text();
    }
    const quint64 divisor = count < kMega ? kKilo : count < kGiga ? kMega : kGiga;
    appendTwoPlaceQuotient(out, count, divisor);
    out.append(' ');
    out.append(unitNames[divisor == kKilo ? 1 : divisor == kMega ? 2 : 3]);
    return out.text();
}

// printf's "%.<places>lf" in the C locale, whatever the process locale is.
QString fixedPlaces(double value, int places)
{
    std::array<char, 400> buffer{};  // room for the largest double in fixed notation
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, places);
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
