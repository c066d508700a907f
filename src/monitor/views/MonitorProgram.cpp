#include "monitor/views/MonitorProgram.h"

#include "common/texts/QLLocalizedString.h"
#include "desktop/alerts/views/AlertPanePresenter.h"
#include "monitor/context/MonitorContext.h"
#include "monitor/views/StatusItem.h"

#include <QDesktopServices>
#include <QUrl>

MonitorProgram::MonitorProgram(MonitorContext &context, OpenFile openWithTextEditor)
    : mWindows(context.timings(), context.notifications(), context.schedules(), std::move(openWithTextEditor)),
      mDisplay(mNotificationWindow),
      mController(context, mWindows, mDisplay, mWindows.alerts())
{
    mWindows.statusItem().bind(mController);
    mNotificationWindow.setOpenLogs([this] { mController.openLogfile(); });
    // The preferences window is not part of this program yet: say so rather than do nothing.
    QObject::connect(&mController, &TarnixMonitorController::preferencesRequested, &mWindows, [this] {
        mWindows.displayWindowWithAlertMsg(
            QLLocalizedString(QStringLiteral("The preferences window is not available yet.")));
    });
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
