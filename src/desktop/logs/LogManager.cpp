#include "desktop/logs/LogManager.h"

#include "desktop/logs/DayFileLock.h"
#include "desktop/logs/LogParseOperation.h"
#include "desktop/logs/LogParseReceiver.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QtDebug>

#include <algorithm>

namespace {

const QString kContinuousProtectionSuffix = QStringLiteral("_cdp");

QByteArray fileContents(const QString &path)
{
    // One byte past the bound is enough to refuse a file too large to be a day's records.
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(LogParseOperation::kMaxDayFileBytes + 1) : QByteArray();
}

// Two copies of a record, one of them perhaps read back from a rewrite (which
// writes an empty operation number as 0), are one record when they write alike.
bool sameRecord(const LogNode &a, const LogNode &b) { return a.flattenSelfToXML() == b.flattenSelfToXML(); }

bool removeRecord(QList<LogNode> &records, const LogNode &record)
{
    const auto found =
        std::find_if(records.begin(), records.end(), [&](const LogNode &r) { return sameRecord(r, record); });
    if (found == records.end())
        return false;
    records.erase(found);
    return true;
}

}  // namespace

LogManager::LogManager(LogParseReceiver *master, SessionLogsFolder folder, Clock clock, QObject *parent)
    : QObject(parent)
    , master(master)
    , mFolder(std::move(folder))
    , mClock(std::move(clock))
{
    mQueue.setMaxThreadCount(1);  // files are parsed and delivered in the order asked for
}

LogManager::~LogManager()
{
    mQueue.clear();
    mQueue.waitForDone();
}

void LogManager::beginRequest()
{
    ++mRequest;
    mQueue.clear();
}

void LogManager::fetchAllLogs()
{
    beginRequest();
    if (mFolder.logXmlFolder().isEmpty())
        return;
    const QStringList names = QDir(mFolder.logXmlFolder()).entryList({QStringLiteral("*.xml")}, QDir::Files);
    const QSet<QString> present(names.begin(), names.end());
    QStringList dates;
    for (const QString &name : names) {
        QString date = name.chopped(4);
        const qsizetype cdp = date.indexOf(kContinuousProtectionSuffix);
        if (cdp >= 0) {
            date.truncate(cdp);
            if (present.contains(date + QStringLiteral(".xml")))
                continue;  // the client file's turn reads both
        }
        if (!dates.contains(date))
            dates.append(date);
    }
    const auto day = [](const QString &date) { return QDate::fromString(date, QStringLiteral("MM-dd-yyyy")); };
    std::stable_sort(dates.begin(), dates.end(), [&](const QString &a, const QString &b) { return day(a) < day(b); });
    for (const QString &date : dates)
        parseXmlFile(date);
}

void LogManager::fetchLogsFrom(const QDateTime &start, const QDateTime &end)
{
    beginRequest();
    // Calendar days, not spans of 86,400 seconds: a change of daylight-saving
    // time neither skips a day nor shows one twice.
    for (QDateTime day = start; day < end; day = day.addDays(1))
        parseXmlFile(SessionLogsFolder::dayKey(day.date()));
}

void LogManager::parseXmlFile(const QString &date)
{
    const bool isToday = date == SessionLogsFolder::dayKey(mClock().date());
    for (const QString &key : {date + kContinuousProtectionSuffix, date}) {
        const QString path = mFolder.dayFilePath(key);
        if (QFile::exists(path) && !serveFromCache(key, isToday))
            queueParse(path);
    }
}

bool LogManager::serveFromCache(const QString &key, bool isToday)
{
    // Today's file grows while the program runs, so it is always read again.
    const auto cached = mCache.constFind(key);
    if (isToday || cached == mCache.constEnd())
        return false;
    deliver(*cached, false);
    return true;
}

void LogManager::queueParse(const QString &path)
{
    mQueue.start([this, path, request = mRequest] {
        const std::optional<QList<LogNode>> records = LogParseOperation(fileContents(path)).parsedData();
        // Queued to this object: dropped if the manager is gone before the main thread gets to it,
        // or when a later fetch has begun meanwhile.
        QMetaObject::invokeMethod(
            this,
            [this, records, request] {
                if (request == mRequest)
                    deliver(records, true);
            },
            Qt::QueuedConnection);
    });
}

void LogManager::deliver(const std::optional<QList<LogNode>> &records, bool freshlyParsed)
{
    isParsed = freshlyParsed;
    master->xmlParsed(records);
    isParsed = false;
}

void LogManager::addToLogCache(const QString &key, const QList<LogNode> &records)
{
    if (isParsed)
        mCache.insert(key, records);
}

void LogManager::deleteNode(const LogNode &record, const QString &dayKey)
{
    // The key names a file in the folder: a day, or a continuous-protection day, and nothing else.
    static const QRegularExpression dayKeyForm(QStringLiteral("^\\d\\d-\\d\\d-\\d{4}(_cdp)?$"));
    const auto cached = mCache.find(dayKey);
    if (!dayKeyForm.match(dayKey).hasMatch() || cached == mCache.end())
        return;
    removeSessionLogFile(record.logfile);
    removeSessionLogFile(record.logfile + QStringLiteral(".summary"));
    removeRecord(*cached, record);
    if (cached->isEmpty())
        mCache.erase(cached);
    rewriteWithout(record, dayKey);
}

void LogManager::removeSessionLogFile(const QString &path) const
{
    if (!mFolder.contains(path)) {
        if (QFile::exists(path))
            qWarning().noquote() << "log file outside the session-log folder left in place:" << path;
        return;
    }
    QFile::remove(path);
}

void LogManager::rewriteWithout(const LogNode &record, const QString &dayKey) const
{
    // The file is read again under the lock, so records appended since the day
    // was cached stay, and a file that no longer reads is not overwritten.
    const DayFileLock lock(mFolder.logXmlFolder());
    const QString path = mFolder.dayFilePath(dayKey);
    std::optional<QList<LogNode>> records = LogParseOperation(fileContents(path)).parsedData();
    if (!records || !removeRecord(*records, record))
        return;
    if (records->isEmpty()) {
        QFile::remove(path);
        return;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.setPermissions(PropertyList::kOwnerReadWrite)) {
        file.write(getXMLfromNodes(*records).toUtf8());
        file.commit();
    }
}

QString LogManager::getXMLfromNodes(const QList<LogNode> &records)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<records>\n");
    for (const LogNode &record : records)
        xml += record.flattenSelfToXML();
    return xml + QStringLiteral("</records>\n");
}
