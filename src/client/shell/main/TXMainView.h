#pragma once

#include <QString>
#include <QUrl>

// What the main controller asks of the main window, its sidebar and its pages.
// The windows implement it; the controller never touches a widget. Its messages go
// to an AlertPresenter.
class TXMainView
{
public:
    virtual ~TXMainView() = default;

    // Every control of the sidebar and the Backup page, on or off (off until a login).
    virtual void setEnableViews(bool enabled) = 0;
    // The title-bar login button ("Connecting %@", the user name, "Login to your account ").
    virtual void setLoginButtonTitle(const QString &title) = 0;
    virtual void setWindowTitle(const QString &title) = 0;
    virtual void displayGuide(bool shown) = 0;
    virtual void displayBackupView() = 0;
    // The mode switch: its image for the mode, and whether it is shown at all.
    virtual void setBackupMode(bool backupMode) = 0;
    virtual void setSwitchModeVisible(bool visible) = 0;
    // In sync mode, once the sync account is confirmed: the pages follow the mode.
    virtual void setLoginMode(bool backupMode) = 0;
    // The sidebar's quota bar, 0 to 100.
    virtual void setQuotaPercentage(int percent) = 0;
    // The chosen destination volume (a path) in the volume pop-up and the pages' path labels.
    virtual void showDestination(const QString &volumePath) = 0;
    // Starts the calculation of the space used on the drive.
    virtual void refreshSpaceUsed() = 0;
    // The monitor's restore-destination prompt state ("" or a number), for the browse buttons.
    virtual void canHideBrowseButton(const QString &state) = 0;
    // The default browser.
    virtual void openURL(const QUrl &url) = 0;
};
