#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <mutex>

// The monitor's buffered trace writer (its build of the progress logger):
// "date : message" lines, rewritten as MonitorLogger rewrites them, kept in
// memory and written out at 51,200 characters or when the caller asks. A null
// message writes nothing, flush or not: what is buffered stays for the next line.
class MonitorProgressLogger
{
public:
    static constexpr qsizetype kFlushThreshold = 51200;
    using Clock = std::function<QDateTime()>;

    explicit MonitorProgressLogger(Clock clock = [] { return QDateTime::currentDateTime(); })
        : mClock(std::move(clock))
    {}
    ~MonitorProgressLogger();  // writes out what is still buffered

    MonitorProgressLogger(const MonitorProgressLogger &) = delete;
    MonitorProgressLogger &operator=(const MonitorProgressLogger &) = delete;

    // To "InteractiveTraceFilePath" and "DaemonTraceFilePath". Any thread.
    void logInteractiveTrace(const QString &message, bool flush);
    void logDaemonTrace(const QString &message, bool flush);

private:
    struct Buffer
    {
        std::mutex lock;
        QString text;
    };

    void append(Buffer &buffer, const QString &key, const QString &message, bool flush);

    Clock mClock;
    Buffer mInteractiveTrace;
    Buffer mDaemonTrace;
};
