#pragma once

#include "desktop/logs/LogNode.h"
#include "desktop/logs/SessionLogsFolder.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QThreadPool>

#include <functional>

class LogParseReceiver;

// The model behind the log viewer: finds the day files of a period, parses them
// one at a time on a queue of its own, hands each file's records to the viewer
// on the main thread, keeps past days in a cache, and deletes records with their
// session log files. Days are keyed "MM-dd-yyyy", continuous-protection days
// "MM-dd-yyyy_cdp". Every member is called on the main thread.
class LogManager : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    // master receives the days and is not owned; it must outlive the manager.
    LogManager(
        LogParseReceiver *master, SessionLogsFolder folder, Clock clock = [] { return QDateTime::currentDateTime(); },
        QObject *parent = nullptr);
    ~LogManager() override;  // drops the parses still queued

    // Every day file in the folder, oldest day first.
    void fetchAllLogs();
    // The calendar days from the start's day while the day's start lies before the end.
    void fetchLogsFrom(const QDateTime &start, const QDateTime &end);
    // (A fetch replaces the one before it: the earlier fetch's parses that have not run are
    // dropped, and so are its deliveries still on their way, so no record shows twice.)
    // One day: its continuous-protection file first, then the client's file;
    // past days from the cache when held there, today's always from disk.
    void parseXmlFile(const QString &date);

    // Keeps a delivered day, only while a freshly parsed day is being delivered.
    void addToLogCache(const QString &key, const QList<LogNode> &records);
    // Deletes the record from the day's file (the whole file when it was the
    // last) and its session log with its ".summary". Only a day held in the
    // cache, only a day file named like one, and only log files inside the
    // session-log folder are touched; a file that no longer reads is left as it is.
    void deleteNode(const LogNode &record, const QString &dayKey);
    // The text of a whole day file holding the records, as a rewrite writes it.
    static QString getXMLfromNodes(const QList<LogNode> &records);

    const QHash<QString, QList<LogNode>> &mLogData() const { return mCache; }
    // Waits until every queued parse has run; the deliveries still come through the event loop.
    void waitForQueuedParses() { mQueue.waitForDone(); }

private:
    void beginRequest();
    void queueParse(const QString &path);
    void deliver(const std::optional<QList<LogNode>> &records, bool freshlyParsed);
    bool serveFromCache(const QString &key, bool isToday);
    void removeSessionLogFile(const QString &path) const;
    void rewriteWithout(const LogNode &record, const QString &dayKey) const;

    LogParseReceiver *const master;
    const SessionLogsFolder mFolder;
    const Clock mClock;
    QHash<QString, QList<LogNode>> mCache;
    bool isParsed = false;
    quint64 mRequest = 0;  // the number of the latest fetch
    QThreadPool mQueue;
};
