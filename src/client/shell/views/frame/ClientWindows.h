#pragma once

#include "client/shell/sidebar/TXTabViewControllerDelegate.h"

#include <QObject>
#include <QString>

#include <memory>

class AlertPanePresenter;
class AlertPresenter;
class LogViewController;
class TXMainWindow;
class TXTabViewController;

// The client's windows put together: the main window with its sidebar and
// pages (the log viewer on the Log page). It answers the sidebar's questions about the account and the
// running operations from what the main controller tells it.
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
    LogViewController *logViewController() const { return mLogViewController; }

    void setLoggedInUserName(const QString &userName) { mUserName = userName; }
    void setReIndexInProgress(bool running) { mReIndexInProgress = running; }
    void setRunningActivity(const SidebarRules::Activity &activity) { mActivity = activity; }

    QString loggedInUserName() const override { return mUserName; }
    bool isReIndexInProgress() const override { return mReIndexInProgress; }
    SidebarRules::Activity runningActivity() const override { return mActivity; }

signals:
    // The monitor's restore-destination prompt state ("" or a number), for the Restore page.
    void browseButtonStateChanged(const QString &state);

private:
    std::unique_ptr<TXMainWindow> mMainWindow;
    std::unique_ptr<AlertPanePresenter> mAlerts;
    std::unique_ptr<TXTabViewController> mTabViewController;
    LogViewController *mLogViewController;  // the Log page, owned by the page container
    QString mUserName;
    bool mReIndexInProgress = false;
    SidebarRules::Activity mActivity;
};
