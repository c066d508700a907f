#pragma once

#include "client/browser/host/OperationsHost.h"

class ClientWindows;
class TXMainController;

// The Restore page's host in the program: the client's TXMainController for the
// account, drive, engine set-up, version restore and day file, and the sidebar
// for the restore box, the log view and the mode switch's running flags, the
// search field and the Search page.
class MainControllerBrowserHost : public OperationsHost
{
public:
    MainControllerBrowserHost(TXMainController &mainController, ClientWindows &windows);

    bool isReIndexInProgress() const override;
    QString currentDestinationDrive() const override;
    QString mpcName() const override;
    bool isAppInBackupMode() const override;
    const User &userObject() override;
    QVariantMap getPreferencesSettingForUser(const QString &userName) const override;
    void setOperationActive(bool active) override;
    void sendSessionLogInformation(const SessionLogReport &report) override;
    void displayLogView() override;
    void upgrade() override;
    void setDisplayRefreshGuide(bool shown) override;
    void calQuota() override;
    void setUserAndProxyToObject(TXEngineController &controller) override;
    void setRestoreMiniProgressHidden(bool hidden) override;
    void setRestoreMiniPercentage(const QString &text) override;
    void setSearchInProgress(bool running) override;
    void setRestoreRunning(bool running) override;
    bool isVersionRestoreRunning() const override;
    void cancelVersionRestore() override;
    bool isOperationActive() const override;
    void setReIndexInProgress(bool inProgress) override;
    RuvoDeleteController &deleteController() override;
    void addFileToDelete(const QString &indexPath) override;
    void displaySearchView(const QString &key) override;

private:
    TXMainController &mMainController;
    ClientWindows &mWindows;
};
