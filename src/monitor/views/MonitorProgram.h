#pragma once

#include "monitor/app/TarnixMonitorController.h"
#include "monitor/notify/DisplayController.h"
#include "monitor/views/MonitorWindows.h"
#include "monitor/views/notify/NotificationWindow.h"

#include <functional>

class MonitorContext;

// The tray program as its main() puts it together: the tray item and windows,
// the notification window and its controller, and the monitor controller
// over the program's context.
class MonitorProgram
{
public:
    using OpenFile = std::function<bool(const QString &path)>;
    // openWithTextEditor: shows a log file in another program; by default the
    // desktop's application for text files.
    explicit MonitorProgram(MonitorContext &context, OpenFile openWithTextEditor = openWithDesktop);

    // Shows the tray item and runs the start-up.
    void start();

    TarnixMonitorController &controller() { return mController; }
    MonitorWindows &windows() { return mWindows; }
    NotificationWindow &notificationWindow() { return mNotificationWindow; }

    static bool openWithDesktop(const QString &path);

private:
    MonitorWindows mWindows;
    NotificationWindow mNotificationWindow;
    DisplayController mDisplay;
    TarnixMonitorController mController;
};
