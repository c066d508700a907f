#include "monitor/views/MonitorProgram.h"

#include "desktop/alerts/views/AlertPanePresenter.h"
#include "monitor/context/MonitorContext.h"
#include "monitor/views/StatusItem.h"

#include <QDesktopServices>
#include <QUrl>

MonitorProgram::MonitorProgram(MonitorContext &context, OpenFile openWithTextEditor)
    : mWindows(context.timings(), context.notifications(), context.schedules(), context.messaging(),
               std::move(openWithTextEditor))
    , mDisplay(mNotificationWindow)
    , mController(context, mWindows, mDisplay, mWindows.alerts())
{
    mWindows.statusItem().bind(mController);
    mNotificationWindow.setOpenLogs([this] { mController.openLogfile(); });
    QObject::connect(&mController, &TarnixMonitorController::preferencesRequested, &mWindows,
                     [this](bool exclusionPane) { mWindows.showPreferences(exclusionPane); });
}

void MonitorProgram::start()
{
    mWindows.statusItem().show();
    mController.start();
}

bool MonitorProgram::openWithDesktop(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
