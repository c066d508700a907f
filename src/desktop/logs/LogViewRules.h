#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// The value rules of the log viewer (LogViewController) that need no window:
// the period menu's days, the operation names and icons, the clipping of
// long session logs and the column comparisons.
namespace LogViewRules {

// The period menu's item tags, as stored under the "logsFrom" default.
enum Period
{
    kLastWeek = 0,
    kLastMonth = 1,
    kFromTheBeginning = 2,
    kLastTwoWeeks = 3
};
inline const QString kPeriodKey = QStringLiteral("logsFrom");

// The first day of a period that ends today (today included), or no day for
// "from the beginning", which lists every day file instead.
std::optional<QDate> periodStart(int tag, const QDate &today);
// The notification posted for a period tag, and the tag a notification names.
QString periodNotificationName(int tag);
std::optional<int> periodForNotification(const QString &name);

QString operationName(int optype);
QString operationImage(int optype);

// A session log as the detail and summary views show it: at most kShownBytes
// of the file; a longer file is cut back to its last whole character and
// marked as clipped, with a link to the whole file.
constexpr qint64 kShownBytes = 10240;
inline const QString kClippedNotice = QStringLiteral("... \n [Log clipped]  ");
inline const QString kViewEntireLog = QStringLiteral("View entire log");
struct ShownLog
{
    QString text;
    bool clipped = false;
};
ShownLog shownLog(const QByteArray &firstBytes, qint64 fileSize);
// The longest start of the bytes that ends on a whole UTF-8 character.
QByteArray wholeCharacters(const QByteArray &bytes);

// The sentence of a summary whose "Click here" links to the exclusion settings.
inline const QString kExcludedFilesSentence = QStringLiteral("Click here to view excluded files/ folders");
// Where "Click here" of that sentence starts in the text, or -1.
qsizetype excludedFilesLinkStart(const QString &text);

// Column comparisons: negative, zero or positive as a sorts before, with or after b.
int compareDateTimes(const QString &a, const QString &b);
int compareNumbers(const QString &a, const QString &b);

}  // namespace LogViewRules
