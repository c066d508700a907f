#include "index/journals/FinishedJournals.h"

#include "index/IndexFileOwner.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>
#include <tuple>

namespace {

const QString kFinishedExtension = QStringLiteral("qlt");

struct WrittenOrder
{
    bool dated = false;
    qint64 utcMilliseconds = 0;
    qint64 sequence = 0;
    QString name;

    bool operator<(const WrittenOrder &other) const
    {
        return std::tie(dated, utcMilliseconds, sequence, name) <
               std::tie(other.dated, other.utcMilliseconds, other.sequence, other.name);
    }
};

WrittenOrder writtenOrderOf(const QString &name)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^(\d{4}-\d{2}-\d{2}) (\d{2}[:.]\d{2}[:.]\d{2}) ([+-])(\d{2})(\d{2})_(\d+)(?:-\d+)?\.qlt$)"));
    WrittenOrder order;
    order.name = name;
    const QRegularExpressionMatch match = form.match(name);
    if (!match.hasMatch())
        return order;
    const QDate date = QDate::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd"));
    const QTime time =
        QTime::fromString(match.captured(2).replace(QLatin1Char('.'), QLatin1Char(':')), QStringLiteral("HH:mm:ss"));
    if (!date.isValid() || !time.isValid())
        return order;
    const int sign = match.captured(3) == QLatin1String("-") ? -1 : 1;
    const int offsetSeconds = sign * (match.captured(4).toInt() * 3600 + match.captured(5).toInt() * 60);
    order.dated = true;
    order.utcMilliseconds = QDateTime(date, time, QTimeZone(offsetSeconds)).toMSecsSinceEpoch();
    order.sequence = match.captured(6).toLongLong();
    return order;
}

}  // namespace

QStringList FinishedJournals::namesOldestFirst(const QString &folder)
{
    std::vector<WrittenOrder> journals;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        // Another user's journal is that user's to merge, never this user's.
        if (QFileInfo(name).suffix() == kFinishedExtension &&
            IndexFileOwner::isOwnOrAbsent(QDir(folder).filePath(name)))
            journals.push_back(writtenOrderOf(name));
    }
    std::sort(journals.begin(), journals.end());
    QStringList names;
    for (const WrittenOrder &journal : journals)
        names.append(journal.name);
    return names;
}
