#pragma once

#include "client/shell/TXMainView.h"
#include "client/shell/TXTabViewControllerDelegate.h"

#include <QObject>
#include <QString>

#include <memory>

class LoginWindows;
class LogViewController;
class SendErrorReportController;
class TXMainController;
struct TXMainControllerServices;
class TXMainWindow;
class TXTabViewController;

// The client's windows put together and given their logic: the main window
// with its sidebar and pages (the log viewer on the Log page), the login
// windows, and the main controller that drives them.
class ClientWindows : public QObject, public TXMainView, public TXTabViewControllerDelegate
{
    Q_OBJECT
public:
    explicit ClientWindows(TXMainControllerServices services);
    ~ClientWindows() override;

    // Start-up: shows the main window and starts the automatic login.
    void start();

    TXMainWindow *mainWindow() const { return mMainWindow.get(); }
    TXTabViewController *tabViewController() const { return mTabViewController.get(); }
    LogViewController *logViewController() const { return mLogViewController; }
    LoginWindows *loginWindows() const { return mLoginWindows.get(); }
    TXMainController *mainController() const { return mMainController.get(); }

    // --- TXMainView ---
    void setEnableViews(bool enabled) override;
    void setLoginButtonTitle(const QString &title) override;
    void setWindowTitle(const QString &title) override;
    void displayGuide(bool shown) override;
    void displayBackupView() override;
    void setBackupMode(bool backupMode) override;
    void setSwitchModeVisible(bool visible) override;
    void setLoginMode(bool backupMode) override;
    void setQuotaPercentage(int percent) override;
    void showDestination(const QString &volumePath) override;
    void refreshSpaceUsed() override;
    void canHideBrowseButton(const QString &state) override;
    int runModalAlert(const AlertRequest &alert) override;
    void openURL(const QUrl &url) override;

    // --- TXTabViewControllerDelegate ---
    QString loggedInUserName() const override;
    bool isReIndexInProgress() const override;
    SidebarRules::Activity runningActivity() const override;

private:
    void wireSidebar();
    void wireWindows();
    void measureSpaceUsed();

    std::unique_ptr<TXMainWindow> mMainWindow;
    std::unique_ptr<TXTabViewController> mTabViewController;
    LogViewController *mLogViewController;  // the Log page, owned by the page container
    std::unique_ptr<LoginWindows> mLoginWindows;
    std::unique_ptr<SendErrorReportController> mErrorReport;
    std::unique_ptr<TXMainController> mMainController;
};
