#pragma once

#include "client/shell/main/TXMainView.h"

class ClientWindows;

// The main controller's view (TXMainView) over the main window, its sidebar and its pages.
class MainWindowView : public TXMainView
{
public:
    explicit MainWindowView(ClientWindows &windows)
        : mWindows(windows)
    {}

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
    void openURL(const QUrl &url) override;

private:
    ClientWindows &mWindows;
};
