#pragma once

#include "client/shell/account/MonitorNotices.h"
#include "client/shell/account/SpaceUsedMeasure.h"
#include "client/shell/main/ProgramServices.h"
#include "client/shell/main/TXMainController.h"
#include "engine/controllers/DataTransferRateController.h"

#include <QObject>

#include <memory>

class BandwidthTestWindowView;
class ClientWindows;
class LoginWindows;
class LoginWindowsView;
class MainWindowView;
class SendErrorReportController;

// The client program: its windows joined to the main controller's logic.
// The windows' buttons reach the controllers; the controllers reach the
// windows through their views.
class ClientShell : public QObject
{
    Q_OBJECT
public:
    // The program's own services unless others are given (tests start no monitor).
    explicit ClientShell(TXMainControllerServices services = ProgramServices::programServices());
    ~ClientShell() override;

    // Shows the main window and starts the automatic login.
    void start();

    ClientWindows &windows() { return *mWindows; }
    LoginWindows &loginWindows() { return *mLoginWindows; }
    TXMainController &mainController() { return *mMainController; }
    MonitorNotices &monitorNotices() { return mNotices; }
    BandwidthTestWindowView &bandwidthTestWindow() { return *mBandwidthTest; }

private:
    void connectLoginWindows();
    void connectMainWindow();
    void connectSidebar();
    void connectMonitorNotices();
    // The account menu's preferences: the monitor's window, started when it does not run.
    void openPreferences();
    // The account menu's error report: the monitor's window, else the client's own.
    void sendErrorReport();
    // The sidebar's desktop-application button.
    void openDesktopApplication();
    // The account menu's speed test of the signed-in account.
    void testSpeed(DataTransferRateController::Test test);
    // The space used by the user's folder on the backup drive, measured away from the main thread.
    void measureSpaceUsed();

    std::unique_ptr<ClientWindows> mWindows;
    std::unique_ptr<LoginWindows> mLoginWindows;
    std::unique_ptr<LoginWindowsView> mLoginView;
    std::unique_ptr<MainWindowView> mMainView;
    std::unique_ptr<SendErrorReportController> mErrorReport;
    std::unique_ptr<BandwidthTestWindowView> mBandwidthTest;
    std::unique_ptr<TXMainController> mMainController;
    SpaceUsedMeasure mSpaceUsed;
    MonitorNotices mNotices;
};
