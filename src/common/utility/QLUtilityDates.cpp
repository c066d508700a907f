#include "common/utility/QLUtility.h"

#include "platform/DateFormat.h"

#include <QHash>

#include <array>
#include <charconv>

namespace {

const QString kLogTimePattern = QStringLiteral("LL-dd-yyyy-HH-mm-ss");
const QString kSessionLogTimePattern = QStringLiteral("LL/dd/yyyy hh:mm:ss a");
const QString kNoDuration = QStringLiteral("--:--:--");

// Engine dates are read by position; the separators are not checked.
constexpr qsizetype kListingDateLength = 19;  // 2013-04-05 06:07:08
constexpr qsizetype kReindexDateLength = 24;  // Fri Apr  5 06:07:08 2013

// At least two digits: a leading zero below 10; negative numbers as they are.
char *appendTwoDigits(char *out, char *end, int value)
{
    if (value >= 0 && value <= 9)
        *out++ = '0';
    return std::to_chars(out, end, value).ptr;
}

QString displayDate(const QString &month, const QString &day, const QString &year, const QString &time)
{
    return QStringLiteral("%1/%2/%3 %4").arg(month, day, year, time);
}

}  // namespace

QString QLUtility::timeDisplayFormatHour(int hour, int minute, int seconds)
{
    // Made for every progress report: put together in a buffer, no format string.
    std::array<char, 40> buffer{};  // three ints of up to 11 characters and two colons
    char *const end = buffer.data() + buffer.size();
    char *at = appendTwoDigits(buffer.data(), end, hour);
    *at++ = ':';
    at = appendTwoDigits(at, end, minute);
    *at++ = ':';
    at = appendTwoDigits(at, end, seconds);
    return QString::fromLatin1(buffer.data(), at - buffer.data());
}

QString QLUtility::remoteDateFormatStr(const QString &listingDate)
{
    if (listingDate.size() < kListingDateLength)
        return {};
    return displayDate(listingDate.mid(5, 2), listingDate.mid(8, 2), listingDate.mid(0, 4), listingDate.mid(11, 8));
}

QString QLUtility::remoteDateFormatStrAfterReindex(const QString &reindexDate)
{
    static const QHash<QString, QString> kMonths{{"jan", "01"}, {"feb", "02"}, {"mar", "03"}, {"apr", "04"},
                                                 {"may", "05"}, {"jun", "06"}, {"jul", "07"}, {"aug", "08"},
                                                 {"sep", "09"}, {"oct", "10"}, {"nov", "11"}, {"dec", "12"}};
    if (reindexDate.size() < kReindexDateLength)
        return {};
    const QString month = kMonths.value(reindexDate.mid(4, 3).toLower());
    if (month.isEmpty())
        return {};
    return displayDate(month, reindexDate.mid(8, 2), reindexDate.mid(20, 4), reindexDate.mid(11, 8));
}

QDateTime QLUtility::dateFromString(const QString &listingDate)
{
    if (listingDate.size() < kListingDateLength)
        return {};
    const auto field = [&listingDate](qsizetype from, qsizetype length) {
        return listingDate.mid(from, length).toInt();
    };
    const QDateTime date(QDate(field(0, 4), field(5, 2), field(8, 2)), QTime(field(11, 2), field(14, 2), field(17, 2)),
                         Qt::LocalTime);
    return date.isValid() ? date : QDateTime();
}

QString QLUtility::getLogTime() { return DateFormat::format(QDateTime::currentDateTime(), kLogTimePattern); }

QString QLUtility::getSessionLogTime()
{
    return DateFormat::format(QDateTime::currentDateTime(), kSessionLogTimePattern);
}

QString QLUtility::getSessionDurationWithStartDate(const QString &start, const QString &end)
{
    const QDateTime from = DateFormat::parse(start, kSessionLogTimePattern);
    const QDateTime to = DateFormat::parse(end, kSessionLogTimePattern);
    if (!from.isValid() || !to.isValid())
        return kNoDuration;
    const qint64 seconds = from.msecsTo(to) / 1000;
    if (seconds <= 0)
        return kNoDuration;
    return QString::asprintf("%02lld:%02lld:%02lld", seconds / 3600, seconds % 3600 / 60, seconds % 60);
}
