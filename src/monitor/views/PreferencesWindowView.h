#pragma once

#include "monitor/prefs/GeneralPreferences.h"

#include <QWidget>

#include <memory>

class AccountPages;
class AlertPresenter;
class ContinuousProtection;
class DistributedNotificationCenter;
class ExcludePreferences;
class ExcludeViewController;
class GeneralViewController;
class MonitorProxySettings;
class QLabel;
class QStandardItemModel;
class TXMainTableView;
class QPushButton;
class QStackedWidget;
class VersionCheck;

// The monitor's preferences window: a sidebar of General and Exclude, the pane
// it selects, the version line, the user name, the account-page buttons and
// the version-check button.
// The tray's "Preferences" item builds one and calls showPreferences.
class PreferencesWindowView : public QWidget
{
    Q_OBJECT
public:
    PreferencesWindowView(AlertPresenter &alerts, DistributedNotificationCenter &notifications,
                          GeneralPreferences::ClientMessageSender sendToClient, QWidget *parent = nullptr);
    ~PreferencesWindowView() override;

    // Loads both panes for the user and brings the window to the front.
    void showPreferences(const QString &userName, bool isRuvoUser);
    // While nobody is logged in the window is locked: every control of both panes
    // is disabled but the proxy choice, address and port, the sidebar and the
    // upgrade button too, and the user name is hidden. Unlocking reloads the panes.
    void setLocked(bool locked);
    // Asks the version service; the answer is shown when it arrives.
    void checkForSoftwareUpgrades();

    // Selects a sidebar row, as a click on it does: 0 General, 1 Exclude.
    void selectPane(int row);
    TXMainTableView *sidebar() const { return mTableView; }
    GeneralViewController *generalPane() const { return mGeneralPane; }
    ExcludeViewController *excludePane() const { return mExcludePane; }
    QPushButton *checkForUpdateButton() const { return mCheckForUpdate; }
    QPushButton *upgradeButton() const { return mUpgradeButton; }
    QPushButton *changePasswordButton() const { return mChangePassword; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void tableViewSelectionChanged(int row);
    void versionAnswered(int answer);

    AlertPresenter &mAlerts;
    std::unique_ptr<GeneralPreferences> mGeneral;
    std::unique_ptr<ExcludePreferences> mExclude;
    std::unique_ptr<MonitorProxySettings> mProxy;
    std::unique_ptr<VersionCheck> mVersionCheck;
    std::unique_ptr<ContinuousProtection> mContinuousProtection;
    std::unique_ptr<AccountPages> mAccountPages;
    TXMainTableView *mTableView = nullptr;
    QStandardItemModel *mDataArray = nullptr;
    QStackedWidget *mTabView = nullptr;
    GeneralViewController *mGeneralPane = nullptr;
    ExcludeViewController *mExcludePane = nullptr;
    QLabel *mUserName = nullptr;
    QLabel *mAppVersion = nullptr;
    QPushButton *mCheckForUpdate = nullptr;
    QPushButton *mUpgradeButton = nullptr;
    QPushButton *mChangePassword = nullptr;
};
