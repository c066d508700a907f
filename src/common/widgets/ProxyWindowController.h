#pragma once

#include "common/proxy/ProxyData.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The "Proxy" settings window: the user edits the proxy settings file there.
// The two check boxes are mirrored into the check-box state file at every
// change; saving validates the fields against those states. Main thread only.
class ProxyWindowController : public QObject
{
    Q_OBJECT
public:
    // Keeps the path of the settings file; the window is built at the first show.
    explicit ProxyWindowController(const QString &settingFilePath);
    ~ProxyWindowController() override;

    // Builds the window once, brings it to the front and loads the settings file into it.
    void show();
    // Sets the boxes and fields from the settings file (the password unscrambled).
    void loadProxySettings();

    // Actions of the window's controls.
    void EnableProxy();
    void EnableProxyAuth();
    // Copies the session's proxy into the window; tells the user when there is none.
    void GetProxySetting();
    // -1 without a check-box state file, 0 when a field is missing or
    // invalid (nothing is written), 1 when the settings file was written;
    // *reason says what is wrong otherwise.
    int SaveSetting(QString *reason = nullptr);
    void Cancel();
    void launchProxyHelp();

    // The help page of the running brand, inside the resources folder.
    static QString proxyHelpPagePath();

    QWidget *window() const { return mProxySetting.get(); }
    QCheckBox *proxyEnableBox() const { return mProxyEnable; }
    QCheckBox *proxyAuthEnableBox() const { return mProxyAuthEnable; }
    QLineEdit *addressField() const { return mProxyAddress; }
    QLineEdit *portField() const { return mProxyPort; }
    QLineEdit *userNameField() const { return mProxyUserName; }
    QLineEdit *passwordField() const { return mProxyPassword; }
    QPushButton *systemProxyButton() const { return getProxySettingsButton; }
    QPushButton *saveButton() const { return mSaveButton; }

private:
    void loadWindow();
    void awakeFromNib();
    void storeCheckBoxStates();
    void updateEnabledFields();
    void saveClicked();
    ProxyData fieldValues() const;

    QString mSettingFilePath;
    QVariantMap mProxySettingDict;  // the check-box states, as written to their file

    std::unique_ptr<QWidget> mProxySetting;
    QCheckBox *mProxyEnable = nullptr;
    QCheckBox *mProxyAuthEnable = nullptr;
    QLineEdit *mProxyAddress = nullptr;
    QLineEdit *mProxyPort = nullptr;
    QLineEdit *mProxyUserName = nullptr;
    QLineEdit *mProxyPassword = nullptr;
    QPushButton *getProxySettingsButton = nullptr;
    QPushButton *mSaveButton = nullptr;
    QLabel *backgroundImageView = nullptr;
    bool isNibLoaded = false;
};
