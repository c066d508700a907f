#pragma once

#include "common/context/ProgramContext.h"
#include "monitor/context/MonitorTimings.h"

#include <memory>

class DistributedNotificationCenter;
class MessageSendingModule;
class ScheduledJobControl;
class StatusRefresh;
class TarnixSchedulerController;

// What the whole monitor shares, built once in its main() (and by each test
// that runs the monitor): the program's context underneath, then the schedule
// store, the control files of the status menu, the status refresh, the
// notifications between the programs, the messaging module and the timings.
class MonitorContext
{
public:
    explicit MonitorContext(MonitorTimings timings = {});
    ~MonitorContext();
    MonitorContext(const MonitorContext &) = delete;
    MonitorContext &operator=(const MonitorContext &) = delete;

    ProgramContext &program() { return mProgram; }
    const MonitorTimings &timings() const { return mTimings; }
    TarnixSchedulerController &schedules() { return *mSchedules; }
    ScheduledJobControl &jobControl() { return *mJobControl; }
    StatusRefresh &statusRefresh() { return *mStatusRefresh; }
    DistributedNotificationCenter &notifications() { return *mNotifications; }
    MessageSendingModule &messaging() { return *mMessaging; }

private:
    ProgramContext mProgram;  // first: the texts and files everything below reads
    MonitorTimings mTimings;
    std::unique_ptr<DistributedNotificationCenter> mNotifications;
    std::unique_ptr<TarnixSchedulerController> mSchedules;
    std::unique_ptr<ScheduledJobControl> mJobControl;
    std::unique_ptr<StatusRefresh> mStatusRefresh;
    std::unique_ptr<MessageSendingModule> mMessaging;
};
