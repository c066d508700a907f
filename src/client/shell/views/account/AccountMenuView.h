#pragma once

#include <QWidget>

class QPushButton;

// The account menu shown under the login button while a user is logged in:
// disconnect, preferences, account settings, help, error report and the speed test.
class AccountMenuView : public QWidget
{
    Q_OBJECT
public:
    explicit AccountMenuView(QWidget *parent = nullptr);

    QPushButton *mBandwidthTestButton = nullptr;
    QPushButton *mDownloadSpeedButton = nullptr;
    QPushButton *mUploadSpeedButton = nullptr;

signals:
    void disconnectAccount();
    void openPreferences();
    void showAccountSettings();
    void displayHelp();
    void sendErrorReport();
    void uploadSpeed();
    void downloadSpeed();

private:
    void toggleBandwithTestButton();
};
