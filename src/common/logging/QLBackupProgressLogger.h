#pragma once

#include <QDateTime>
#include <QRecursiveMutex>
#include <QString>

#include <functional>

// Buffers log lines in memory and writes them out in blocks: the session logs
// of the user's operations and the two trace logs. A buffer is written out when
// it reaches 51,200 characters, when the caller asks, and by flushAll (called
// when an operation ends and at exit for the shared instance). Every buffer has
// its own lock, so any thread may log at any time.
class QLBackupProgressLogger
{
public:
    static constexpr qsizetype kFlushThreshold = 51200;

    using Clock = std::function<QDateTime()>;

    // The clock dates the lines of session files; tests pass a fixed one.
    explicit QLBackupProgressLogger(Clock clock = [] { return QDateTime::currentDateTime(); })
        : mClock(std::move(clock))
    {}
    ~QLBackupProgressLogger();  // writes out what is still buffered

    QLBackupProgressLogger(const QLBackupProgressLogger &) = delete;
    QLBackupProgressLogger &operator=(const QLBackupProgressLogger &) = delete;

    // The program's logger (ProgramContext.h); what it still holds is written out when the context ends.
    static QLBackupProgressLogger &progressLogger();

    // Typed "Information" lines into the shared session buffer, written out to
    // the scheduled-backup, sync-session or interactive-session log.
    void logDaemonSession(const QString &message, bool flush);
    void logSyncInteractiveSession(const QString &message, bool flush);
    void logQuellonSession(const QString &message, bool flush);

    // "[date] message" lines of one operation's session file. A null message
    // writes out what is buffered.
    void writeSessionLog(const QString &message, const QString &file, bool flush);

    // "date : message" trace lines. A null message with flush writes the
    // interactive buffer out; the background-job buffer is written out only by
    // a call with a message.
    void logInteractiveTrace(const QString &message, bool flush);
    void logDaemonTrace(const QString &message, bool flush);

    // Writes out every buffer to where its last lines were meant to go.
    void flushAll();

private:
    struct Buffer
    {
        QRecursiveMutex lock;
        QString text;
        QString destination;  // where the buffered lines go
    };

    void appendSessionLine(const QString &line, const QString &destination, bool flush);
    static void append(Buffer &buffer, const QString &line, const QString &destination, bool flush);
    static void writeOut(Buffer &buffer);

    const Clock mClock;
    Buffer mProgressedBackupFilesNames;   // typed session lines, shared by the three session logs
    Buffer mProgressedSessionFilesNames;  // lines of one operation's session file
    Buffer mInteractiveTraceMsgs;
    Buffer mDaemonTraceMsgs;
};
