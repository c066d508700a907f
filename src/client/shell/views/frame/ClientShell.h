#pragma once

#include "client/shell/main/ProgramServices.h"
#include "client/shell/main/TXMainController.h"

#include <QObject>

#include <memory>

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

private:
    void connectLoginWindows();
    void connectMainWindow();
    void connectSidebar();
    // The space used by the user's folder on the backup drive, measured away from the main thread.
    void measureSpaceUsed();

    std::unique_ptr<ClientWindows> mWindows;
    std::unique_ptr<LoginWindows> mLoginWindows;
    std::unique_ptr<LoginWindowsView> mLoginView;
    std::unique_ptr<MainWindowView> mMainView;
    std::unique_ptr<SendErrorReportController> mErrorReport;
    std::unique_ptr<TXMainController> mMainController;
};
