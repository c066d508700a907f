#include "monitor/views/PreferencesWindowView.h"

#include "common/files/TXSupportFileManager.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "common/volumes/LocalVolumeLayout.h"
#include "desktop/alerts/AlertPresenter.h"
#include "monitor/prefs/ContinuousProtection.h"
#include "monitor/prefs/ExcludePreferences.h"
#include "monitor/prefs/MonitorProxySettings.h"
#include "monitor/views/ExcludeViewController.h"
#include "monitor/views/GeneralViewController.h"
#include "monitor/web/AccountPages.h"
#include "monitor/web/VersionCheck.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

PreferencesWindowView::PreferencesWindowView(AlertPresenter &alerts, DistributedNotificationCenter &notifications,
                                             GeneralPreferences::ClientMessageSender sendToClient, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , mAlerts(alerts)
    , mGeneral(std::make_unique<GeneralPreferences>(notifications, std::move(sendToClient)))
    , mExclude(std::make_unique<ExcludePreferences>(notifications, LocalVolumeLayout::current()))
    , mProxy(std::make_unique<MonitorProxySettings>(
          TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ProxySetting)))
    , mVersionCheck(std::make_unique<VersionCheck>(
          [this](VersionCheck::Answer answer) { versionAnswered(int(answer)); }))
    , mContinuousProtection(std::make_unique<ContinuousProtection>(notifications))
    , mAccountPages(std::make_unique<AccountPages>([](const QUrl &page) { QDesktopServices::openUrl(page); }))
{
    setWindowTitle(QLLocalizedString(QStringLiteral("ApplicationName")) + tr(" Preferences"));
    auto *layout = new QHBoxLayout(this);
    mTableView = new QListWidget(this);
    mTableView->addItems({tr("General"), tr("Exclude")});
    mTableView->setFixedWidth(120);
    layout->addWidget(mTableView);

    auto *right = new QVBoxLayout;
    mTabView = new QStackedWidget(this);
    mGeneralPane = new GeneralViewController(*mGeneral, *mProxy, *mContinuousProtection, alerts, mTabView);
    mExcludePane = new ExcludeViewController(*mExclude, mTabView);
    mTabView->addWidget(mGeneralPane);
    mTabView->addWidget(mExcludePane);
    right->addWidget(mTabView, 1);

    auto *footer = new QHBoxLayout;
    mUserName = new QLabel(this);
    mAppVersion = new QLabel(QStringLiteral("v%1  Date: %2")
                                 .arg(QLLocalizedString(QStringLiteral("BundleVersion")),
                                      QLLocalizedString(QStringLiteral("ReleaseDate"))),
                             this);
    mCheckForUpdate = new QPushButton(tr("Check for updates"), this);
    mUpgradeButton = new QPushButton(tr("Upgrade"), this);
    mChangePassword = new QPushButton(tr("Change password"), this);
    footer->addWidget(mUserName);
    footer->addWidget(mUpgradeButton);
    footer->addWidget(mChangePassword);
    footer->addStretch(1);
    footer->addWidget(mAppVersion);
    footer->addWidget(mCheckForUpdate);
    right->addLayout(footer);
    layout->addLayout(right, 1);

    connect(mTableView, &QListWidget::currentRowChanged, this, &PreferencesWindowView::tableViewSelectionChanged);
    connect(mCheckForUpdate, &QPushButton::clicked, this, &PreferencesWindowView::checkForSoftwareUpgrades);
    connect(mUpgradeButton, &QPushButton::clicked, this, [this] { mAccountPages->open(AccountPages::Page::Upgrade); });
    connect(mChangePassword, &QPushButton::clicked, this,
            [this] { mAccountPages->open(AccountPages::Page::ChangePassword); });
    mTableView->setCurrentRow(0);
    resize(640, 620);
}

PreferencesWindowView::~PreferencesWindowView() = default;

void PreferencesWindowView::showPreferences(const QString &userName, bool isRuvoUser)
{
    mUserName->setText(userName);
    mGeneral->setUser(userName, isRuvoUser);
    mExclude->setUserName(userName);
    mProxy->loadProxySettings();
    mGeneral->loadPrefrences();
    mExclude->loadExcludeSet();
    mGeneralPane->refreshView();
    mExcludePane->refreshView();
    mTableView->setCurrentRow(0);
    show();
    raise();
    activateWindow();
}

void PreferencesWindowView::tableViewSelectionChanged(int row)
{
    if (row >= 0 && row < mTabView->count())
        mTabView->setCurrentIndex(row);
    // Switching panes saves the proxy settings, as closing the window does.
    mGeneralPane->saveProxySettings();
}

void PreferencesWindowView::closeEvent(QCloseEvent *event)
{
    mGeneralPane->saveProxySettings();
    mGeneral->savePreferences();
    mExclude->saveExcludePreference();
    QWidget::closeEvent(event);
}

void PreferencesWindowView::checkForSoftwareUpgrades() { mVersionCheck->updateSoftware(); }

void PreferencesWindowView::versionAnswered(int answer)
{
    const QString product = Brand::pick(QStringLiteral("Tarnix Rizered"), QStringLiteral("Quellon Rizered"));
    if (VersionCheck::Answer(answer) == VersionCheck::Answer::Latest) {
        mAlerts.inform(QStringLiteral("The latest version of %1 is already installed on your computer.").arg(product));
        return;
    }
    if (mAlerts.confirm(QStringLiteral("Do you want to upgrade to the latest version of %1?").arg(product)))
        QDesktopServices::openUrl(VersionCheck::downloadURL());
}
