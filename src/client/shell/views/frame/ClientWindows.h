#pragma once

#include "client/shell/sidebar/TXTabViewControllerDelegate.h"
#include "platform/SleepInhibitor.h"

#include <QObject>
#include <QString>

#include <memory>

class AlertPanePresenter;
class AlertPresenter;
class Sidebar;
class TXMainWindow;
class TXTabViewController;

// The client's windows put together: the main window with its sidebar and its
// pages (each page's tab fills its own). It answers the sidebar's questions about the
// account and the running operations from what the main controller tells it.
class ClientWindows : public QObject, public TXTabViewControllerDelegate
{
    Q_OBJECT
public:
    ClientWindows();
    ~ClientWindows() override;

    TXMainWindow *mainWindow() const { return mMainWindow.get(); }
    // Every message of the client, in the alert panel over the main window.
    AlertPresenter &alerts() const;
    TXTabViewController *tabViewController() const { return mTabViewController.get(); }
    Sidebar *sidebar() const;

    void setLoggedInUserName(const QString &userName) { mUserName = userName; }
    // What runs, as the pages tell it: the mode switch stays still meanwhile.
    void setReIndexInProgress(bool running) { mReIndexInProgress = running; }
    // A backup or a restore also keeps the computer from idle sleep while it runs.
    void setBackupRunning(bool running);
    void setRestoreRunning(bool running);
    void setSearchRunning(bool running) { mActivity.searchRunning = running; }
    // The destination drive the main controller holds (a refused change brings the old one
    // back); the Backup page's chooser shows it. "" for none.
    void showDestination(const QString &volumePath) { emit destinationShown(volumePath); }

    QString loggedInUserName() const override { return mUserName; }
    bool isReIndexInProgress() const override { return mReIndexInProgress; }
    SidebarRules::Activity runningActivity() const override
    {
        SidebarRules::Activity activity = mActivity;
        activity.reIndexRunning = mReIndexInProgress;
        return activity;
    }

signals:
    void destinationShown(const QString &volumePath);
    // The monitor's restore-destination prompt state ("" or a number), for the Restore page.
    void browseButtonStateChanged(const QString &state);

private:
    void keepAwakeWhileWorking();

    std::unique_ptr<TXMainWindow> mMainWindow;
    std::unique_ptr<AlertPanePresenter> mAlerts;
    std::unique_ptr<TXTabViewController> mTabViewController;
    QString mUserName;
    bool mReIndexInProgress = false;
    SidebarRules::Activity mActivity;
    SleepInhibitor mSleep;
};
