#include "desktop/logs/LogViewRules.h"

#include "platform/DateFormat.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <array>

namespace LogViewRules {

namespace {

struct Operation
{
    const char *name;
    const char *image;
};
// Indexed by optype; 0 and unknown numbers fall back to the last entry.
constexpr std::array<Operation, 12> kOperations{{
    {"", ""},
    {"Backup", "backup12px.png"},
    {"Backup", "schedule12px.png"},
    {"Restore", "restore12px.png"},
    {"Search", "search12px.png"},
    {"Delete", "trash12px.png"},
    {"Rename", "rename12px.png"},
    {"Continuous Data Protection", "cdp12px.png"},
    {"Archive Cleanup", "archcleanup12px.png"},
    {"Putback", "putback12px.png"},
    {"Automatic Sync", "archive12px.png"},
    {"Tarnix", "default12px.png"},
}};

const Operation &operation(int optype)
{
    const bool known = optype >= 1 && optype < int(kOperations.size()) - 1;
    return kOperations[known ? optype : kOperations.size() - 1];
}

struct PeriodName
{
    int tag;
    const char *name;
};
constexpr std::array<PeriodName, 4> kPeriodNames{{
    {kLastWeek, "LastWeek"},
    {kLastTwoWeeks, "LastTwoWeeks"},
    {kLastMonth, "LastOneMonth"},
    {kFromTheBeginning, "FromTheBeginning"},
}};

const QString kDateTimePattern = QStringLiteral("MMM dd, yyyy hh:mm:ss a");

}  // namespace

std::optional<QDate> periodStart(int tag, const QDate &today)
{
    switch (tag) {
    case kLastWeek:
        return today.addDays(-7);
    case kLastTwoWeeks:
        return today.addDays(-14);
    case kLastMonth:
        return today.addMonths(-1);
    default:
        return std::nullopt;
    }
}

QString periodNotificationName(int tag)
{
    for (const PeriodName &period : kPeriodNames) {
        if (period.tag == tag)
            return QString::fromLatin1(period.name);
    }
    return {};
}

std::optional<int> periodForNotification(const QString &name)
{
    for (const PeriodName &period : kPeriodNames) {
        if (name == QLatin1String(period.name))
            return period.tag;
    }
    return std::nullopt;
}

QString operationName(int optype) { return QString::fromLatin1(operation(optype).name); }

QString operationImage(int optype) { return QString::fromLatin1(operation(optype).image); }

QByteArray wholeCharacters(const QByteArray &bytes)
{
    // Step back over at most three continuation bytes to the lead byte of the
    // last character, and drop that character when its bytes are not all there.
    qsizetype lead = bytes.size() - 1;
    while (lead >= 0 && lead > bytes.size() - 4 && (uchar(bytes[lead]) & 0xC0) == 0x80)
        --lead;
    if (lead < 0)
        return bytes;
    const uchar first = uchar(bytes[lead]);
    const qsizetype length = first < 0x80 ? 1 : (first & 0xE0) == 0xC0 ? 2 : (first & 0xF0) == 0xE0 ? 3 : 4;
    return bytes.size() - lead < length ? bytes.left(lead) : bytes;
}

ShownLog shownLog(const QByteArray &firstBytes, qint64 fileSize)
{
    const bool clipped = fileSize > kShownBytes;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(clipped ? wholeCharacters(firstBytes.left(kShownBytes)) : firstBytes);
    if (decoder.hasError())
        return {};
    return {text, clipped};
}

qsizetype excludedFilesLinkStart(const QString &text)
{
    // The sentence begins with its "Click here".
    return text.indexOf(kExcludedFilesSentence);
}

int compareDateTimes(const QString &a, const QString &b)
{
    const QDateTime first = DateFormat::parse(a, kDateTimePattern);
    const QDateTime second = DateFormat::parse(b, kDateTimePattern);
    return first < second ? -1 : (second < first ? 1 : 0);
}

int compareNumbers(const QString &a, const QString &b)
{
    // Runs of digits compare by their value, everything else character by character.
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype startA = i, startB = j;
            while (i < a.size() && a[i].isDigit())
                ++i;
            while (j < b.size() && b[j].isDigit())
                ++j;
            const QString digitsA = a.mid(startA, i - startA).remove(QRegularExpression(QStringLiteral("^0+")));
            const QString digitsB = b.mid(startB, j - startB).remove(QRegularExpression(QStringLiteral("^0+")));
            if (digitsA.size() != digitsB.size())
                return digitsA.size() < digitsB.size() ? -1 : 1;
            if (const int order = digitsA.compare(digitsB))
                return order < 0 ? -1 : 1;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    return (a.size() - i) == (b.size() - j) ? 0 : ((a.size() - i) < (b.size() - j) ? -1 : 1);
}

}  // namespace LogViewRules
