#include "monitor/views/PreferencesWindowView.h"

#include "common/files/TXSupportFileManager.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "common/volumes/LocalVolumeLayout.h"
#include "desktop/alerts/AlertPresenter.h"
#include "desktop/kit/views/TXMainTableView.h"
#include "desktop/kit/views/winBGView.h"
#include "monitor/prefs/ContinuousProtection.h"
#include "monitor/prefs/ExcludePreferences.h"
#include "monitor/prefs/MonitorProxySettings.h"
#include "monitor/views/ExcludeViewController.h"
#include "monitor/views/GeneralViewController.h"
#include "monitor/web/AccountPages.h"
#include "monitor/web/VersionCheck.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileIconProvider>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QVBoxLayout>

PreferencesWindowView::PreferencesWindowView(AlertPresenter &alerts, DistributedNotificationCenter &notifications,
                                             GeneralPreferences::ClientMessageSender sendToClient, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , mAlerts(alerts)
    , mGeneral(std::make_unique<GeneralPreferences>(notifications, std::move(sendToClient)))
    , mExclude(std::make_unique<ExcludePreferences>(notifications, LocalVolumeLayout::current()))
    , mProxy(std::make_unique<MonitorProxySettings>(
          TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ProxySetting)))
    , mVersionCheck(
          std::make_unique<VersionCheck>([this](VersionCheck::Answer answer) { versionAnswered(int(answer)); }))
    , mContinuousProtection(std::make_unique<ContinuousProtection>(notifications))
    , mAccountPages(std::make_unique<AccountPages>([](const QUrl &page) { QDesktopServices::openUrl(page); }))
{
    setWindowTitle(QLLocalizedString(QStringLiteral("ApplicationName")) + tr(" Preferences"));
    // The window's background panel holds everything else.
    auto *windowLayout = new QVBoxLayout(this);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    auto *background = new winBGView(this);
    windowLayout->addWidget(background);
    auto *layout = new QHBoxLayout(background);
    layout->setContentsMargins(10, 10, 10, 10);
    mDataArray = new QStandardItemModel(this);
    const QFileIconProvider icons;
    mDataArray->appendRow(new QStandardItem(icons.icon(QFileIconProvider::Computer), tr("General")));
    mDataArray->appendRow(new QStandardItem(icons.icon(QFileIconProvider::Folder), tr("Exclude")));
    mTableView = new TXMainTableView(background);
    mTableView->setModel(mDataArray);
    mTableView->horizontalHeader()->setStretchLastSection(true);
    mTableView->verticalHeader()->setDefaultSectionSize(34);
    mTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTableView->setSelectionMode(QAbstractItemView::SingleSelection);
    mTableView->setFixedWidth(130);
    layout->addWidget(mTableView);

    auto *right = new QVBoxLayout;
    mTabView = new QStackedWidget(background);
    mGeneralPane = new GeneralViewController(*mGeneral, *mProxy, *mContinuousProtection, alerts, mTabView);
    mExcludePane = new ExcludeViewController(*mExclude, mTabView);
    mTabView->addWidget(mGeneralPane);
    mTabView->addWidget(mExcludePane);
    right->addWidget(mTabView, 1);

    auto *about = new QHBoxLayout;
    mUserName = new QLabel(background);
    mAppVersion = new QLabel(
        QStringLiteral("v%1  Date: %2")
            .arg(QLLocalizedString(QStringLiteral("BundleVersion")), QLLocalizedString(QStringLiteral("ReleaseDate"))),
        background);
    about->addWidget(mUserName);
    about->addStretch(1);
    about->addWidget(mAppVersion);
    right->addLayout(about);
    auto *buttons = new QHBoxLayout;
    mUpgradeButton = new QPushButton(tr("Upgrade"), background);
    mChangePassword = new QPushButton(tr("Change password"), background);
    mCheckForUpdate = new QPushButton(tr("Check for updates"), background);
    buttons->addStretch(1);
    for (QPushButton *button : {mUpgradeButton, mChangePassword, mCheckForUpdate})
        buttons->addWidget(button);
    right->addLayout(buttons);
    layout->addLayout(right, 1);

    connect(mTableView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { tableViewSelectionChanged(current.row()); });
    connect(mCheckForUpdate, &QPushButton::clicked, this, &PreferencesWindowView::checkForSoftwareUpgrades);
    connect(mUpgradeButton, &QPushButton::clicked, this, [this] { mAccountPages->open(AccountPages::Page::Upgrade); });
    connect(mChangePassword, &QPushButton::clicked, this,
            [this] { mAccountPages->open(AccountPages::Page::ChangePassword); });
    selectPane(0);
    resize(680, 640);
}

PreferencesWindowView::~PreferencesWindowView() = default;

void PreferencesWindowView::showPreferences(const QString &userName, bool isRuvoUser)
{
    mUserName->setText(tr("User: %1").arg(userName));
    mGeneral->setUser(userName, isRuvoUser);
    mExclude->setUserName(userName);
    mProxy->loadProxySettings();
    mGeneral->loadPrefrences();
    mExclude->loadExcludeSet();
    mGeneralPane->refreshView();
    mExcludePane->refreshView();
    selectPane(0);
    show();
    raise();
    activateWindow();
}

void PreferencesWindowView::setLocked(bool locked)
{
    selectPane(0);
    for (QWidget *pane : std::initializer_list<QWidget *>{mGeneralPane, mExcludePane})
        for (QWidget *control : pane->findChildren<QWidget *>())
            if (qobject_cast<QAbstractButton *>(control) || qobject_cast<QLineEdit *>(control) ||
                qobject_cast<QAbstractItemView *>(control))
                control->setEnabled(!locked);
    mTableView->setEnabled(!locked);
    mUpgradeButton->setEnabled(!locked);
    mUserName->setVisible(!locked);
    if (locked) {
        for (QAbstractButton *mode : mGeneralPane->proxyModes()->buttons())
            mode->setEnabled(true);
        mGeneralPane->proxyAddressField()->setEnabled(true);
        mGeneralPane->proxyPortField()->setEnabled(true);
        return;
    }
    mGeneralPane->refreshView();
    mExcludePane->refreshView();
}

void PreferencesWindowView::selectPane(int row) { mTableView->setCurrentIndex(mDataArray->index(row, 0)); }

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
