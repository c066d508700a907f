#pragma once

#include "tools/daemon/DaemonFixture.h"

#include "monitor/context/MonitorContext.h"
#include "monitor/views/MonitorProgram.h"
#include "monitor/views/StatusItem.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>
#include <memory>

// The monitor as its main() builds it, offscreen, for the account "ann" of the
// daemon's fixture after a login in the client: the last-user login plist
// names her. Log files are never handed to another program.
class MonitorProgramFixture : public DaemonFixture
{
protected:
    void SetUp() override
    {
        DaemonFixture::SetUp();
        writePlist(QLLocalizedString("LastUserLoginDetailsFilePath"),
                   QVariantMap{{"TarnixUsername", "ann"}, {"Username", "ann"}, {"serverName", "10.0.0.1"}});
    }

    void TearDown() override
    {
        mProgram.reset();
        mContext.reset();
        DaemonFixture::TearDown();
    }

    void startMonitor(MonitorTimings timings = {})
    {
        mContext = std::make_unique<MonitorContext>(timings);
        mProgram = std::make_unique<MonitorProgram>(*mContext, [](const QString &) { return false; });
        mProgram->start();
    }

    static void writePlist(const QString &path, const QVariant &value)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        ASSERT_TRUE(PropertyList::write(path, value));
    }

    // Runs the main thread's events until the condition holds.
    static bool pumpUntil(const std::function<bool()> &condition, int milliseconds = 10000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!condition()) {
            if (clock.elapsed() > milliseconds)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        return true;
    }
    static void pumpFor(int milliseconds)
    {
        pumpUntil([] { return false; }, milliseconds);
    }

    QAction *menuItem(const QString &title) { return mProgram->windows().statusItem().itemTitled(title); }
    QAction *menuItem(int tag) { return mProgram->windows().statusItem().itemWithTag(tag); }

    std::unique_ptr<MonitorContext> mContext;
    std::unique_ptr<MonitorProgram> mProgram;
};
