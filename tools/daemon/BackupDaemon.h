#pragma once

#include "daemon/JobSchedule.h"
#include "daemon/ScheduledBackup.h"

#include "index/manager/IndexManagerTimings.h"
#include "session/manager/SessionTimings.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

class MessageSendingModule;

// The backup daemon of one user: it scans the schedules archive and the
// control files every poll, starts the job that is due (one at a time), hands
// on stop and pause requests to it, and when it ends sets the record's status,
// advances a repeating job's time and tells the monitor.
class BackupDaemon : public QObject
{
    Q_OBJECT

public:
    struct Timings
    {
        std::chrono::milliseconds poll{5000};
        std::chrono::seconds missedAfter{120};
        SessionTimings session;
        IndexManagerTimings index;
    };
    using Clock = std::function<QDateTime()>;

    // The messenger may be null (no monitor to tell); it is not owned.
    BackupDaemon(Timings timings, Clock clock, MessageSendingModule *messenger, QObject *parent = nullptr);
    ~BackupDaemon() override;

    // Marks records left In progress by a daemon that died as cancelled, then scans every poll.
    void start();
    // Stops scanning and cancels the running job; `stopped` follows once nothing runs.
    void stop();
    // One scan; the poll timer calls it.
    void tick();
    bool isRunningJob() const { return bool(mRunning); }

signals:
    void jobFinished();
    void stopped();

private:
    struct RunningJob
    {
        QString identity;
        QString userName;
        QString tarnixUserName;
        bool notify = false;
        bool stopAsked = false;
        std::unique_ptr<ScheduledBackup> backup;
    };

    void recoverLeftovers();
    void followRunningJob();
    void startDueJob();
    void jobEnded(const ScheduledBackup::Result &result);
    void setScheduleEntry(const QString &userName);
    QVariantMap notification(const ScheduledBackup::Result &result) const;
    void send(const QVariant &payload, int type);
    void trace(const QString &line) const;
    static QString readControl(const QString &key);
    static void writeControl(const QString &key, const QString &value);

    Timings mTimings;
    Clock mClock;
    MessageSendingModule *mMessenger;
    QTimer mPoll;
    std::unique_ptr<RunningJob> mRunning;
    bool mStopping = false;
};
