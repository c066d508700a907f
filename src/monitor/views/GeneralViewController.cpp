#include "monitor/views/GeneralViewController.h"

#include "common/texts/Brand.h"
#include "desktop/alerts/AlertPresenter.h"
#include "monitor/prefs/ContinuousProtection.h"
#include "monitor/prefs/GeneralPreferences.h"
#include "monitor/prefs/MonitorProxySettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

GeneralViewController::GeneralViewController(GeneralPreferences &preferences, MonitorProxySettings &proxy,
                                             ContinuousProtection &continuousProtection, AlertPresenter &alerts,
                                             QWidget *parent)
    : QWidget(parent)
    , mPreferences(preferences)
    , mProxy(proxy)
    , mContinuousProtection(continuousProtection)
    , mAlerts(alerts)
{
    auto *layout = new QVBoxLayout(this);
    mShowHiddenFiles = new QCheckBox(tr("Show hidden files"), this);
    mVersionButton = new QCheckBox(tr("Keep versions of backed-up files"), this);
    mRestoreDestination = new QCheckBox(tr("Do not prompt for a restore destination"), this);
    mCDPCheckBox = new QCheckBox(tr("Continuous Data Protection"), this);
    for (QCheckBox *box : {mShowHiddenFiles, mVersionButton, mRestoreDestination, mCDPCheckBox})
        layout->addWidget(box);

    auto *folderRow = new QHBoxLayout;
    mFolderLabel = new QLabel(tr("Folder name of this computer:"), this);
    mFolderName = new QLineEdit(this);
    mFolderName->setMaxLength(GeneralPreferences::kFolderNameLength);
    folderRow->addWidget(mFolderLabel);
    folderRow->addWidget(mFolderName, 1);
    layout->addLayout(folderRow);

    layout->addWidget(new QLabel(tr("Time Machine backups to include:"), this));
    mTableView = new QTableWidget(0, 1, this);
    mTableView->horizontalHeader()->hide();
    mTableView->verticalHeader()->hide();
    mTableView->horizontalHeader()->setStretchLastSection(true);
    mTableView->setFixedHeight(80);
    layout->addWidget(mTableView);
    mDefaultLabel = new QLabel(tr("No Time Machine backup is attached."), mTableView);
    mDefaultLabel->move(8, 8);
    layout->addWidget(buildProxyBox());
    layout->addStretch(1);

    connect(mShowHiddenFiles, &QCheckBox::toggled, this, [this](bool on) { mPreferences.setShowHiddenFiles(on); });
    connect(mVersionButton, &QCheckBox::toggled, this, [this](bool on) { mPreferences.setEnableVersion(on); });
    // The box's state is what the client gets and what the file keeps.
    connect(mRestoreDestination, &QCheckBox::toggled, this,
            [this](bool on) { mPreferences.selectRestoreDestinationPath(on); });
    connect(mCDPCheckBox, &QCheckBox::clicked, this, &GeneralViewController::ContinuousDataProtectionSelected);
    connect(mFolderName, &QLineEdit::editingFinished, this,
            [this] { mPreferences.multipleMacOptionsBtnSelected(mFolderName->text()); });
    connect(mTableView, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        const bool checked = item->checkState() == Qt::Checked;
        if (checked != mPreferences.timeMachineVolumes().at(size_t(item->row())).checkState)
            mPreferences.toggleCheckBoxSate(item->row());
    });
    connect(&mPreferences, &GeneralPreferences::preferencesChanged, this, &GeneralViewController::refreshView);
}

QWidget *GeneralViewController::buildProxyBox()
{
    auto *box = new QGroupBox(tr("Proxy"), this);
    auto *layout = new QFormLayout(box);
    mProxyEnable = new QButtonGroup(box);
    auto *modes = new QHBoxLayout;
    const QString titles[] = {tr("No proxy"), tr("Use this proxy"), tr("Use the system's proxy")};
    for (int mode = 0; mode < 3; ++mode) {
        auto *button = new QRadioButton(titles[mode], box);
        mProxyEnable->addButton(button, mode);
        modes->addWidget(button);
    }
    layout->addRow(modes);
    mProxyAddress = new QLineEdit(box);
    mProxyPort = new QLineEdit(box);
    mProxyPort->setMaximumWidth(80);
    auto *addressRow = new QHBoxLayout;
    addressRow->addWidget(mProxyAddress, 1);
    addressRow->addWidget(new QLabel(tr("Port:"), box));
    addressRow->addWidget(mProxyPort);
    layout->addRow(tr("Address:"), addressRow);
    mProxyAuthEnable = new QCheckBox(tr("The proxy needs a user name and password"), box);
    layout->addRow(mProxyAuthEnable);
    mProxyUserName = new QLineEdit(box);
    mProxyPassword = new QLineEdit(box);
    mProxyPassword->setEchoMode(QLineEdit::Password);
    layout->addRow(tr("User name:"), mProxyUserName);
    layout->addRow(tr("Password:"), mProxyPassword);

    connect(mProxyEnable, &QButtonGroup::idClicked, this, &GeneralViewController::proxyModeChosen);
    connect(mProxyAuthEnable, &QCheckBox::clicked, this, [this](bool on) {
        proxyFieldsEdited();
        mProxy.EnableProxyAuth(on);
        refreshProxy();
    });
    for (QLineEdit *field : {mProxyAddress, mProxyPort, mProxyUserName, mProxyPassword})
        connect(field, &QLineEdit::editingFinished, this, &GeneralViewController::saveProxySettings);
    return box;
}

void GeneralViewController::proxyFieldsEdited()
{
    ProxyData fields;
    fields.setIpaddress(mProxyAddress->text());
    fields.setPort(mProxyPort->text());
    fields.setUserName(mProxyUserName->text());
    fields.setPassword(mProxyPassword->text());
    mProxy.setFields(fields);
}

void GeneralViewController::saveProxySettings()
{
    proxyFieldsEdited();
    mProxy.SaveSetting();
}

void GeneralViewController::proxyModeChosen(int mode)
{
    proxyFieldsEdited();
    if (!mProxy.EnableProxy(mode))
        mAlerts.inform(tr("Internet proxy settings are currently disabled."));
    refreshProxy();
}

void GeneralViewController::refreshProxy()
{
    const QSignalBlocker blocker(mProxyAuthEnable);
    mProxyEnable->button(mProxy.mode())->setChecked(true);
    const ProxyData &fields = mProxy.fields();
    mProxyAddress->setText(fields.ipaddress());
    mProxyPort->setText(fields.port());
    mProxyUserName->setText(fields.userName());
    mProxyPassword->setText(fields.password());
    mProxyAuthEnable->setChecked(mProxy.authEnabled());
    const bool proxy = mProxy.mode() != MonitorProxySettings::NoProxy;
    for (QWidget *field : std::initializer_list<QWidget *>{mProxyAddress, mProxyPort, mProxyAuthEnable})
        field->setEnabled(proxy);
    mProxyUserName->setEnabled(proxy && mProxy.authEnabled());
    mProxyPassword->setEnabled(proxy && mProxy.authEnabled());
}

void GeneralViewController::ContinuousDataProtectionSelected()
{
    const QString &user = mPreferences.userName();
    const bool on = mContinuousProtection.checkCDP(user);
    const bool confirmed = [&] {
        if (user.isEmpty()) {
            mAlerts.inform(QStringLiteral("Login to the %1 application and enable Continuous backup feature.")
                               .arg(Brand::pick(QStringLiteral("Tarnix Rizered"), QStringLiteral("Quellon Rizered"))));
            return false;
        }
        if (!on && ContinuousProtection::isMagicFileExists() &&
            !mAlerts.confirm(QStringLiteral("THIS APPLICATION HAS BEEN CONFIGURED FOR INTERNAL SUPPORT USE.\n"
                                            "Would you like to enable CDP in this machine?")))
            return false;
        return mAlerts.confirm(
            on ? QStringLiteral("On disabling this option, your files and folders will not be backed up in real time.")
               : QStringLiteral("On enabling this option, files and folders selected for backup will be backed up in "
                                "real time on detecting changes.\n\nNote: To limit resources used for CDP (Continuous "
                                "Data Protection), file size limited to 2GB or lower are picked up for backup.\n\n"
                                "Would you link to enable CDP?"));
    }();
    if (confirmed)
        mContinuousProtection.setEnabled(user, !on);
    // The box shows the stored state, whatever was answered.
    const QSignalBlocker blocker(mCDPCheckBox);
    mCDPCheckBox->setChecked(mContinuousProtection.checkCDP(user));
}

void GeneralViewController::refreshView()
{
    {
        const QSignalBlocker hidden(mShowHiddenFiles);
        const QSignalBlocker versions(mVersionButton);
        const QSignalBlocker prompt(mRestoreDestination);
        const QSignalBlocker table(mTableView);
        mShowHiddenFiles->setChecked(mPreferences.showHiddenFiles());
        mVersionButton->setChecked(mPreferences.enableVersion());
        mVersionButton->setEnabled(mPreferences.versionsAvailable());
        mRestoreDestination->setChecked(mPreferences.promptRestoreDestination());
        mCDPCheckBox->setChecked(mContinuousProtection.checkCDP(mPreferences.userName()));
        mFolderLabel->setVisible(mPreferences.isRuvoUser());
        mFolderName->setVisible(mPreferences.isRuvoUser());
        mFolderName->setText(mPreferences.folderName());
        const auto &volumes = mPreferences.timeMachineVolumes();
        mTableView->setRowCount(int(volumes.size()));
        for (int row = 0; row < int(volumes.size()); ++row) {
            auto *item = new QTableWidgetItem(mPreferences.timeMachineRowTitle(row));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            item->setCheckState(volumes[size_t(row)].checkState ? Qt::Checked : Qt::Unchecked);
            mTableView->setItem(row, 0, item);
        }
        mDefaultLabel->setVisible(volumes.empty());
    }
    refreshProxy();
}
