#include "common/widgets/ProxyWindowController.h"

#include "common/proxy/ProxyCheckBoxStateFile.h"
#include "common/proxy/ProxySettingFile.h"
#include "common/proxy/SystemProxySettings.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "common/widgets/AlertPaneWindowController.h"
#include "common/widgets/ResourceImage.h"
#include "platform/PathRoots.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QtDebug>

namespace {

constexpr QSize kWindowSize(460, 260);

QString text(const char *key) { return QLLocalizedString(QLatin1String(key)); }

QString stateText(const QCheckBox *box) { return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); }

// Shows a one-button message in the application's alert panel and waits for it.
void showNotice(const QString &message)
{
    AlertPaneWindowController alert(text("OK"), {}, {});
    alert.displayMessage(message, text("ApplicationName"), true);
}

}  // namespace

ProxyWindowController::ProxyWindowController(const QString &settingFilePath)
    : mSettingFilePath(settingFilePath)
{}

ProxyWindowController::~ProxyWindowController() = default;

void ProxyWindowController::show()
{
    if (!isNibLoaded) {
        loadWindow();
        isNibLoaded = true;
        awakeFromNib();
    }
    mProxySetting->show();
    mProxySetting->raise();
    mProxySetting->activateWindow();
    loadProxySettings();
}

// The window description "Proxy".
void ProxyWindowController::loadWindow()
{
    auto window = std::make_unique<QDialog>();
    window->setObjectName(QStringLiteral("Proxy"));
    window->setWindowTitle(text("Proxy Settings"));
    window->setFixedSize(kWindowSize);

    backgroundImageView = new QLabel(window.get());
    backgroundImageView->setGeometry(QRect(QPoint(0, 0), kWindowSize));
    backgroundImageView->setScaledContents(true);

    mProxyEnable = new QCheckBox(text("Use a proxy server"), window.get());
    mProxyAddress = new QLineEdit(window.get());
    mProxyPort = new QLineEdit(window.get());
    mProxyPort->setMaxLength(5);
    mProxyPort->setFixedWidth(70);
    getProxySettingsButton = new QPushButton(text("Use System Proxy Settings"), window.get());
    mProxyAuthEnable = new QCheckBox(text("The proxy server requires a user name and password"), window.get());
    mProxyUserName = new QLineEdit(window.get());
    mProxyPassword = new QLineEdit(window.get());
    mProxyPassword->setEchoMode(QLineEdit::Password);
    auto *helpButton = new QPushButton(QStringLiteral("?"), window.get());
    helpButton->setFixedWidth(32);
    auto *cancelButton = new QPushButton(text("Cancel"), window.get());
    mSaveButton = new QPushButton(text("Save"), window.get());
    mSaveButton->setDefault(true);

    auto *fields = new QGridLayout;
    fields->addWidget(mProxyEnable, 0, 0, 1, 4);
    fields->addWidget(new QLabel(text("Address:"), window.get()), 1, 0);
    fields->addWidget(mProxyAddress, 1, 1);
    fields->addWidget(new QLabel(text("Port:"), window.get()), 1, 2);
    fields->addWidget(mProxyPort, 1, 3);
    fields->addWidget(getProxySettingsButton, 2, 1, 1, 3, Qt::AlignLeft);
    fields->addWidget(mProxyAuthEnable, 3, 0, 1, 4);
    fields->addWidget(new QLabel(text("User name:"), window.get()), 4, 0);
    fields->addWidget(mProxyUserName, 4, 1, 1, 3);
    fields->addWidget(new QLabel(text("Password:"), window.get()), 5, 0);
    fields->addWidget(mProxyPassword, 5, 1, 1, 3);
    fields->setRowMinimumHeight(3, 36);
    fields->setRowStretch(6, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(helpButton);
    buttons->addStretch();
    buttons->addWidget(cancelButton);
    buttons->addWidget(mSaveButton);

    auto *layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(20, 20, 20, 16);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(mProxyEnable, &QCheckBox::clicked, this, &ProxyWindowController::EnableProxy);
    connect(mProxyAuthEnable, &QCheckBox::clicked, this, &ProxyWindowController::EnableProxyAuth);
    connect(getProxySettingsButton, &QPushButton::clicked, this, &ProxyWindowController::GetProxySetting);
    connect(mSaveButton, &QPushButton::clicked, this, &ProxyWindowController::saveClicked);
    connect(cancelButton, &QPushButton::clicked, this, &ProxyWindowController::Cancel);
    connect(helpButton, &QPushButton::clicked, this, &ProxyWindowController::launchProxyHelp);
    mProxySetting = std::move(window);
}

void ProxyWindowController::awakeFromNib()
{
    loadProxySettings();
    backgroundImageView->setPixmap(ResourceImage::load(QStringLiteral("TXUserAlertBg.png")));
    EnableProxy();
}

void ProxyWindowController::loadProxySettings()
{
    const QVariantMap setting = ProxySettingFile::read(mSettingFilePath).value_or(QVariantMap());
    if (setting.contains(ProxySettingKey::Enable))
        mProxyEnable->setChecked(ProxySettingFile::number(setting, ProxySettingKey::Enable) != 0);
    if (setting.contains(ProxySettingKey::AuthEnable))
        mProxyAuthEnable->setChecked(ProxySettingFile::number(setting, ProxySettingKey::AuthEnable) != 0);
    updateEnabledFields();
    if (setting.contains(ProxySettingKey::Address) && setting.contains(ProxySettingKey::Port)) {
        mProxyAddress->setText(setting.value(ProxySettingKey::Address).toString());
        mProxyPort->setText(setting.value(ProxySettingKey::Port).toString());
    }
    if (setting.contains(ProxySettingKey::UserName) && setting.contains(ProxySettingKey::Password)) {
        mProxyUserName->setText(setting.value(ProxySettingKey::UserName).toString());
        mProxyPassword->setText(ProxySettingFile::password(setting));
    }
}

// Address, port, the authentication box and the system-proxy button follow
// the proxy box; the credentials follow both boxes.
void ProxyWindowController::updateEnabledFields()
{
    const bool proxyOn = mProxyEnable->isChecked();
    for (QWidget *control : {static_cast<QWidget *>(mProxyAddress), static_cast<QWidget *>(mProxyPort),
                             static_cast<QWidget *>(mProxyAuthEnable), static_cast<QWidget *>(getProxySettingsButton)})
        control->setEnabled(proxyOn);
    const bool credentialsOn = proxyOn && mProxyAuthEnable->isChecked();
    mProxyUserName->setEnabled(credentialsOn);
    mProxyPassword->setEnabled(credentialsOn);
}

// Both boxes every time, so the file never keeps a state the window no longer shows.
void ProxyWindowController::storeCheckBoxStates()
{
    mProxySettingDict.insert(ProxySettingKey::Enable, stateText(mProxyEnable));
    mProxySettingDict.insert(ProxySettingKey::AuthEnable, stateText(mProxyAuthEnable));
    ProxyCheckBoxStateFile::write(mProxySettingDict);
}

void ProxyWindowController::EnableProxy()
{
    if (!mProxyEnable->isChecked())
        mProxyAuthEnable->setChecked(false);
    storeCheckBoxStates();
    updateEnabledFields();
    mProxyAddress->setFocus();
}

void ProxyWindowController::EnableProxyAuth()
{
    storeCheckBoxStates();
    updateEnabledFields();
    mProxyUserName->setFocus();
}

void ProxyWindowController::GetProxySetting()
{
    if (const auto proxy = SystemProxySettings::current()) {
        mProxyAddress->setText(proxy->host);
        mProxyPort->setText(proxy->port);
        mProxyEnable->setChecked(true);
    } else {
        mProxyAddress->clear();
        mProxyPort->clear();
        mProxyEnable->setChecked(false);
        showNotice(text("Internet proxy settings are currently disabled."));
    }
    EnableProxy();
}

ProxyData ProxyWindowController::fieldValues() const
{
    ProxyData fields;
    fields.setIpaddress(mProxyAddress->text());
    fields.setPort(mProxyPort->text());
    fields.setUserName(mProxyUserName->text());
    fields.setPassword(mProxyPassword->text());
    return fields;
}

int ProxyWindowController::SaveSetting(QString *reason)
{
    return ProxySettingFile::save(mSettingFilePath, fieldValues(), reason);
}

// The Save button: a saved window closes; otherwise the user learns what to mend.
void ProxyWindowController::saveClicked()
{
    QString reason;
    if (SaveSetting(&reason) == ProxySettingFile::kSaveWritten)
        Cancel();
    else
        showNotice(reason);
}

void ProxyWindowController::Cancel() { mProxySetting->close(); }

QString ProxyWindowController::proxyHelpPagePath()
{
    return PathRoots::resourcesFolder() +
           Brand::pick(QStringLiteral("/TarnixHelp/html/proxy.htm"), QStringLiteral("/QuellonHelp/pages/proxy.htm"));
}

void ProxyWindowController::launchProxyHelp()
{
    const QString page = proxyHelpPagePath();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
        qWarning().noquote() << "proxy help page not opened:" << page;
}
