#pragma once

#include <QWidget>

class AlertPresenter;
class ContinuousProtection;
class GeneralPreferences;
class MonitorProxySettings;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTableWidget;

// The General pane of the monitor's preferences: hidden files, versions, the
// restore prompt, the computer's folder name, the Time Machine list and the
// proxy controls. Every change goes to the preferences at once.
class GeneralViewController : public QWidget
{
    Q_OBJECT
public:
    GeneralViewController(GeneralPreferences &preferences, MonitorProxySettings &proxy,
                          ContinuousProtection &continuousProtection, AlertPresenter &alerts,
                          QWidget *parent = nullptr);

    // Shows what the preferences and the proxy settings hold.
    void refreshView();
    // Saves the proxy settings as the fields show them now.
    void saveProxySettings();

    QCheckBox *showHiddenFilesButton() const { return mShowHiddenFiles; }
    QCheckBox *versionButton() const { return mVersionButton; }
    QCheckBox *restoreDestinationButton() const { return mRestoreDestination; }
    QCheckBox *cdpCheckBox() const { return mCDPCheckBox; }
    QLineEdit *folderNameField() const { return mFolderName; }
    QTableWidget *timeMachineTable() const { return mTableView; }
    QButtonGroup *proxyModes() const { return mProxyEnable; }
    QLineEdit *proxyAddressField() const { return mProxyAddress; }
    QLineEdit *proxyPortField() const { return mProxyPort; }
    QCheckBox *proxyAuthBox() const { return mProxyAuthEnable; }
    QLineEdit *proxyUserNameField() const { return mProxyUserName; }
    QLineEdit *proxyPasswordField() const { return mProxyPassword; }

private:
    QWidget *buildProxyBox();
    void refreshProxy();
    void proxyModeChosen(int mode);
    void proxyFieldsEdited();
    void ContinuousDataProtectionSelected();

    GeneralPreferences &mPreferences;
    MonitorProxySettings &mProxy;
    ContinuousProtection &mContinuousProtection;
    AlertPresenter &mAlerts;
    QCheckBox *mShowHiddenFiles = nullptr;
    QCheckBox *mVersionButton = nullptr;
    QCheckBox *mRestoreDestination = nullptr;
    QCheckBox *mCDPCheckBox = nullptr;
    QLabel *mFolderLabel = nullptr;
    QLineEdit *mFolderName = nullptr;
    QTableWidget *mTableView = nullptr;
    QLabel *mDefaultLabel = nullptr;
    QButtonGroup *mProxyEnable = nullptr;
    QLineEdit *mProxyAddress = nullptr;
    QLineEdit *mProxyPort = nullptr;
    QCheckBox *mProxyAuthEnable = nullptr;
    QLineEdit *mProxyUserName = nullptr;
    QLineEdit *mProxyPassword = nullptr;
};
