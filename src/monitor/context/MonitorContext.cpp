#include "monitor/context/MonitorContext.h"

#include "common/messaging/MessageSendingModule.h"
#include "monitor/control/ScheduledJobControl.h"
#include "monitor/schedules/TarnixSchedulerController.h"
#include "monitor/status/StatusRefresh.h"
#include "platform/DistributedNotificationCenter.h"

MonitorContext::MonitorContext(MonitorTimings timings)
    : mTimings(timings)
    , mNotifications(std::make_unique<DistributedNotificationCenter>())
    , mSchedules(std::make_unique<TarnixSchedulerController>())
    , mJobControl(std::make_unique<ScheduledJobControl>(*mSchedules, mNotifications.get()))
    , mStatusRefresh(std::make_unique<StatusRefresh>(*mSchedules))
    , mMessaging(std::make_unique<MessageSendingModule>())
{}

// The messaging module goes first: no message may arrive while the rest ends.
MonitorContext::~MonitorContext() { mMessaging.reset(); }
