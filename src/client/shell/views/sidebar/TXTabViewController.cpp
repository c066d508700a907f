#include "client/shell/views/sidebar/TXTabViewController.h"

#include "client/shell/sidebar/SidebarRules.h"
#include "client/shell/sidebar/TXTabViewControllerDelegate.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/EventCatcherView.h"
#include "client/shell/views/sidebar/MyTextFieldCell.h"
#include "client/shell/views/sidebar/TXProgressIndicator.h"
#include "common/files/TextFile.h"
#include "common/texts/QLLocalizedString.h"
#include "desktop/kit/GroundViewGeometry.h"
#include "desktop/kit/views/ClientArtwork.h"
#include "desktop/kit/views/TXGroundView.h"
#include "desktop/kit/views/TXLevelIndicator.h"
#include "desktop/kit/views/TXMainTableView.h"
#include "desktop/kit/views/TXTabView.h"
#include "platform/PathTemplate.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>

#include <utility>

using namespace SidebarRules;

namespace {

const QStringList kRowTitles = {QStringLiteral("Backup"), QStringLiteral("Restore"), QStringLiteral("Log")};
const QStringList kRowImages = {QStringLiteral("TXTab_Backup.png"), QStringLiteral("TXTab_Restore.png"),
                                QStringLiteral("TXTab_Log.png")};
enum Column
{
    kButtonCell = 0,
    kName = 1,
    kEmptyCell = 2
};

// Sidebar layout, in the window's coordinates.
constexpr int kSidebarLeft = 6;
constexpr int kSidebarWidth = 196;
constexpr int kPageLeft = kSidebarLeft + kSidebarWidth + 4;
constexpr int kPageMargin = 8;
constexpr int kFirstRowTop = 50;  // row n lies beside the ground view's marker for row n
constexpr int kControlHeight = 26;
constexpr int kGap = 10;

QPushButton *imageButton(const QString &image, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    const QPixmap pixmap = ClientArtwork::image(image);
    button->setIcon(pixmap);
    button->setIconSize(pixmap.deviceIndependentSize().toSize());
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(QStringLiteral("QPushButton { border: none; background: transparent; }"));
    return button;
}

QLabel *label(const QString &text, QWidget *parent, bool small = false)
{
    auto *field = new QLabel(text, parent);
    field->setStyleSheet(small ? QStringLiteral("color: rgb(51, 77, 89); font-size: 11px;")
                               : QStringLiteral("color: rgb(51, 77, 89); font-weight: bold;"));
    return field;
}

}  // namespace

TXTabViewController::TXTabViewController(TXTabViewControllerDelegate *delegate, Timings timings, QObject *parent)
    : QObject(parent)
    , mDelegate(delegate)
    , mTimings(timings)
{
    mCueTimer.setSingleShot(true);
    connect(&mCueTimer, &QTimer::timeout, this, &TXTabViewController::hideSwitchModeHelp);
}

TXTabViewController::~TXTabViewController() = default;

void TXTabViewController::setControllers(TXMainWindow *window)
{
    mWindow = window;
    mainBGView = new TXGroundView;
    window->setContentView(mainBGView);

    mTabView = new TXTabView(mainBGView);
    for (int tab = 0; tab < kTabCount; ++tab)
        mTabView->addPage(new QWidget);
    const QStringList titles = {tr("Backup"), tr("Restore"), tr("Session logs"), tr("Search"), QString(), tr("Trash")};
    for (int tab = 0; tab < kTabCount; ++tab)
        mTabView->setPageTitle(tab, titles.at(tab));

    buildSidebar(mainBGView);
    buildTitleStrip(window);
    connect(window, &TXMainWindow::resized, this, &TXTabViewController::layOut);
    hideSwitchMode();
    mBackupMiniProgressBox->hide();
    mRestoreMiniProgressBox->hide();
    QuotaCalculationIndicator->hide();
    layOut();
    selectRow(kBackupRow);
}

void TXTabViewController::setPageView(Tab tab, QWidget *page) { mTabView->replacePage(int(tab), page); }

void TXTabViewController::showTab(Tab tab) { mTabView->setCurrentIndex(int(tab)); }

void TXTabViewController::buildSidebar(QWidget *ground)
{
    mDataModel = new QStandardItemModel(0, 3, this);
    for (int row = 0; row < kRowTitles.size(); ++row) {
        auto *image = new QStandardItem(QIcon(ClientArtwork::image(kRowImages.at(row))), QString());
        auto *title = new QStandardItem(kRowTitles.at(row));
        QFont font = title->font();
        font.setPixelSize(15);
        font.setBold(true);
        title->setFont(font);
        mDataModel->appendRow({image, title, new QStandardItem});
    }
    mTableView = new TXMainTableView(ground);
    mTableView->setModel(mDataModel);
    mTableView->setItemDelegateForColumn(kName, new MyTextFieldCell(mTableView));
    mTableView->setIconSize(QSize(28, 28));
    mTableView->setColumnWidth(kButtonCell, 44);
    mTableView->horizontalHeader()->setSectionResizeMode(kName, QHeaderView::Stretch);
    mTableView->setColumnWidth(kEmptyCell, 6);
    connect(mTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TXTabViewController::tableViewSelectionChanged);

    mSearch = new QLineEdit(ground);
    mSearch->setPlaceholderText(kSearchPlaceholder);
    mSearch->setClearButtonEnabled(true);
    connect(mSearch, &QLineEdit::returnPressed, this, &TXTabViewController::search);

    mSwitchBkgrnd = imageButton(switchImages(true).background, ground);
    mSwitchMode = imageButton(switchImages(true).knob, ground);
    connect(mSwitchBkgrnd, &QPushButton::clicked, this, &TXTabViewController::toggleAppMode);
    connect(mSwitchMode, &QPushButton::clicked, this, &TXTabViewController::toggleAppMode);
    mSwitchModeHelp = new QLabel(ground);
    mSwitchModeHelp->hide();

    mQuotaHeading = label(tr("Storage quota"), ground);
    mQuotaProgressIndicator = new TXLevelIndicator(ground);
    mProgressIndicator = new TXProgressIndicator(ground);
    mQuotaLable = label(QString(), ground, true);
    mQuotaLable->setWordWrap(true);
    QuotaCalculationIndicator = label(tr("Calculating..."), ground, true);
    mTriggerCalcQuotaView = new EventCatcherView(ground);
    mTriggerCalcQuotaView->setToolTip(tr("Click to measure the space used on your device"));
    connect(mTriggerCalcQuotaView, &EventCatcherView::viewWasClicked, this, &TXTabViewController::viewWasClicked);
    mUpgradeButton = new QPushButton(tr("Upgrade"), ground);
    connect(mUpgradeButton, &QPushButton::clicked, this, &TXTabViewController::upgrade);
    mRecalculateButton = new QPushButton(tr("Refresh"), ground);
    connect(mRecalculateButton, &QPushButton::clicked, this, &TXTabViewController::reCalculateQuota);

    mBackupMiniProgressBox = new QPushButton(ground);
    mRestoreMiniProgressBox = new QPushButton(ground);
    connect(mBackupMiniProgressBox, &QPushButton::clicked, this, [this] {
        displayBackupView();
        mBackupMiniProgressBox->hide();
        emit showBackupProgress();
    });
    connect(mRestoreMiniProgressBox, &QPushButton::clicked, this, [this] {
        mRestoreMiniProgressBox->hide();
        emit showRestoreProgress();
    });

    mSchedulerMiniHeadingText = label(tr("Scheduler"), ground);
    mSchedulerMiniText = label(QString(), ground, true);
    mSchedulerScreenShowButton = new QPushButton(tr("View schedule logs"), ground);
    connect(mSchedulerScreenShowButton, &QPushButton::clicked, this, &TXTabViewController::showSchedulerScreen);

    mOnlineAppButton = imageButton(QStringLiteral("ql_p_online_logo.png"), ground);
    mOnlineAppButton->setToolTip(tr("Open the desktop application"));
    connect(mOnlineAppButton, &QPushButton::clicked, this, &TXTabViewController::openDesktopApplication);
    mImgView1 = new QLabel(ground);
    mImgView1->hide();
}

void TXTabViewController::buildTitleStrip(TXMainWindow *window)
{
    mLogoButton = imageButton(QStringLiteral("portable_logo.png"), mainBGView);
    connect(mLogoButton, &QPushButton::clicked, this, &TXTabViewController::openProductPage);
    mLoginButton = new QPushButton(QStringLiteral("Login to your account "), window);
    mLoginButton->setCursor(Qt::PointingHandCursor);
    mLoginButton->setStyleSheet(
        QStringLiteral("QPushButton { color: white; font-weight: bold; border: 1px solid rgba(255,255,255,120);"
                       " border-radius: 11px; padding: 3px 14px; background: rgba(255,255,255,40); }"
                       "QPushButton:hover { background: rgba(255,255,255,80); }"));
    connect(mLoginButton, &QPushButton::clicked, this, &TXTabViewController::loginButtonClicked);
    // Placed from x 300 like the original, which keeps it to the right of the logo.
    window->addViewToTitleBar(mLoginButton, 300.0);
}

void TXTabViewController::layOut()
{
    if (!mWindow)
        return;
    const int width = mWindow->width();
    const int height = mWindow->height();
    mainBGView->setGeometry(0, 0, width, height);
    mLogoButton->setGeometry(12, 6, 200, 30);
    mTabView->setGeometry(kPageLeft, kFirstRowTop - 2, width - kPageLeft - kPageMargin,
                          height - kFirstRowTop + 2 - kPageMargin - 4);

    const int left = kSidebarLeft + 8;
    const int inner = kSidebarWidth - 16;
    mTableView->setGeometry(kSidebarLeft, kFirstRowTop, kSidebarWidth, int(GroundViewGeometry::kRowPitch) * 3);
    int y = kFirstRowTop + int(GroundViewGeometry::kRowPitch) * 3 + kGap;
    mSearch->setGeometry(left, y, inner, kControlHeight);
    y += kControlHeight + kGap;
    mSwitchBkgrnd->setGeometry(left, y, 72, 22);
    mSwitchMode->setGeometry(left, y, 72, 22);
    mSwitchModeHelp->setGeometry(left + 76, y, 104, 22);
    if (isSwitchModeVisible())
        y += 22 + kGap;
    mQuotaHeading->setGeometry(left, y, inner, 18);
    y += 20;
    mQuotaProgressIndicator->setGeometry(left, y, inner, 18);
    y += 18 + 6;
    mProgressIndicator->setGeometry(left, y + 2, 14, 14);
    mQuotaLable->setGeometry(left + 20, y, inner - 20, 34);
    QuotaCalculationIndicator->setGeometry(left + 20, y + 34, inner - 20, 16);
    mTriggerCalcQuotaView->setGeometry(left, y, inner, 34);
    mTriggerCalcQuotaView->raise();
    y += 34 + 18;
    mUpgradeButton->setGeometry(left, y, inner / 2 - 3, kControlHeight);
    mRecalculateButton->setGeometry(left + inner / 2 + 3, y, inner / 2 - 3, kControlHeight);
    y += kControlHeight + kGap;
    mBackupMiniProgressBox->setGeometry(left, y, inner, kControlHeight);
    mRestoreMiniProgressBox->setGeometry(left, y + kControlHeight + 4, inner, kControlHeight);

    const int bottom = height - kPageMargin - 8;
    mOnlineAppButton->setGeometry(left, bottom - 28, 28, 28);
    mSchedulerScreenShowButton->setGeometry(left + 36, bottom - kControlHeight - 1, inner - 36, kControlHeight);
    mSchedulerMiniText->setGeometry(left, bottom - 28 - 22, inner, 18);
    mSchedulerMiniHeadingText->setGeometry(left, bottom - 28 - 42, inner, 18);
}

int TXTabViewController::selectedRow() const
{
    const QModelIndexList rows = mTableView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

Tab TXTabViewController::selectedTab() const { return Tab(mTabView->currentIndex()); }

void TXTabViewController::selectRow(int row)
{
    mTableView->clearSelection();
    mTableView->selectRow(row);
}

void TXTabViewController::tableViewSelectionChanged()
{
    const int row = selectedRow();
    if (row >= 0 && row < kRowTitles.size()) {
        showTab(Tab(row));
        mainBGView->setItemSelected(row);
        if (row == kRestoreRow)
            emit reloadRemoteView();
    }
    mainBGView->update();
    // A deselection on the way to another row (row -1) keeps the search text for that row.
    if (row >= 0 && row != kRestoreRow) {
        mSearch->setPlaceholderText(kSearchPlaceholder);
        mSearch->clear();
    }
    if (row == kLogRow)
        emit reloadLogView();
    if (row == kBackupRow)
        setSearchInProgress(false);
    if (row == kRestoreRow && std::exchange(mDisplayRefreshGuide, false))
        emit displayRemoteRefreshGuide();
    if (row == kRestoreRow && isSwitchModeVisible() && !isCueVisible())
        showVisualHelpForMode(mIsBackupMode);
    if (row == kRestoreRow && std::exchange(mRegularGuideDisplay, false))
        emit displayRemoteGuide();
}

void TXTabViewController::displayRemoteView()
{
    mSearch->setPlaceholderText(kSearchPlaceholder);
    selectRow(mLastSelectedIndex);
}

void TXTabViewController::search()
{
    if (mDelegate->isReIndexInProgress()) {
        emit reIndexAlertRequested(QStringLiteral("Unable to proceed as database re-indexing is underway."));
        return;
    }
    mLastSelectedIndex = selectedRow();
    if (mSearch->text().isEmpty())
        return;
    const bool trash = mSearch->placeholderText() == kTrashPlaceholder;
    selectRow(kRestoreRow);
    trash ? displayTrashView() : displaySearchView();
}

void TXTabViewController::displaySearchView()
{
    displaySearchViewForMenu();
    emit displaySearchRequested(mSearch->text(), QString());
}

void TXTabViewController::displayTrashView()
{
    mSearch->setPlaceholderText(kTrashPlaceholder);
    mLastSelectedIndex = selectedRow();
    selectRow(kRestoreRow);
    showTab(Tab::Trash);
    emit displayTrashRequested(mSearch->text().isEmpty() ? QStringLiteral("*") : mSearch->text(), QStringLiteral("/"));
}

void TXTabViewController::displaySearchViewForMenu()
{
    mLastSelectedIndex = selectedRow();
    showTab(Tab::Search);
}

void TXTabViewController::displayTrashViewForMenu()
{
    mSearch->setPlaceholderText(kTrashPlaceholder);
    mLastSelectedIndex = selectedRow();
    showTab(Tab::Trash);
}

void TXTabViewController::showSwitchImages(bool backupMode)
{
    const SwitchImages images = switchImages(backupMode);
    mSwitchMode->setIcon(ClientArtwork::image(images.knob));
    mSwitchBkgrnd->setIcon(ClientArtwork::image(images.background));
}

void TXTabViewController::changeSwichImageForMode(bool backupMode) { showSwitchImages(backupMode); }

void TXTabViewController::setTheLoginMode(bool backupMode)
{
    showSwitchImages(backupMode);
    emit backupOrSyncSetViewChanged(backupMode);
}

void TXTabViewController::toggleAppMode()
{
    if (!mayToggleMode(mDelegate->runningActivity()))
        return;
    mIsBackupMode = !mIsBackupMode;
    if (!isCueVisible())
        showVisualHelpForMode(mIsBackupMode);
    writeModeFile(mIsBackupMode);
    showSwitchImages(mIsBackupMode);
    emit backupOrSyncSetViewChanged(mIsBackupMode);
    emit modeSwitched();
    displayBackupView();
}

void TXTabViewController::writeModeFile(bool backupMode)
{
    TextFile::write(PathTemplate::fillTemplate(QLLocalizedString(QStringLiteral("BackupModePath")),
                                               {mDelegate->loggedInUserName()}),
                    modeFileText(backupMode));
}

void TXTabViewController::showVisualHelpForMode(bool backupMode)
{
    const Activity activity = mDelegate->runningActivity();
    if (activity.backupRunning || activity.restoreRunning || activity.reIndexRunning)
        return;
    mSwitchModeHelp->setPixmap(ClientArtwork::image(switchCueImage(backupMode)));
    mSwitchModeHelp->show();
    mSwitchModeHelp->raise();
    mCueTimer.start(mTimings.cueVisible);
}

void TXTabViewController::hideSwitchModeHelp() { mSwitchModeHelp->hide(); }

void TXTabViewController::hideSwitchVisaulHelp(bool hidden) { mSwitchModeHelp->setHidden(hidden); }

bool TXTabViewController::isSwitchModeVisible() const { return !mSwitchBkgrnd->isHidden(); }

bool TXTabViewController::isCueVisible() const { return !mSwitchModeHelp->isHidden(); }

void TXTabViewController::setSwitchVisible(bool visible)
{
    mSwitchBkgrnd->setVisible(visible);
    mSwitchMode->setVisible(visible);
    layOut();
}

void TXTabViewController::setQuotaPercentage(int percent) { mQuotaProgressIndicator->setPercentage(percent); }

void TXTabViewController::viewWasClicked()
{
    if (mDelegate->loggedInUserName().isEmpty() || mSpaceUsedRunning)
        return;
    mSpaceUsedRunning = true;
    QuotaCalculationIndicator->show();
    emit spaceUsedCalculationRequested();
}

void TXTabViewController::folderSizeCalculationDidFinish(const QVariantMap &output)
{
    mSpaceUsedRunning = false;
    QuotaCalculationIndicator->hide();
    if (const auto text = SidebarRules::spaceUsedText(output))
        mQuotaLable->setText(*text);
}

void TXTabViewController::folderSizeCalculationDidFail()
{
    mSpaceUsedRunning = false;
    QuotaCalculationIndicator->hide();
    mQuotaLable->setText(kSpaceUsedFailure);
}

QString TXTabViewController::spaceUsedText() const { return mQuotaLable->text(); }

void TXTabViewController::setBackupMiniProgressHidden(bool hidden) { mBackupMiniProgressBox->setHidden(hidden); }

void TXTabViewController::setRestoreMiniProgressHidden(bool hidden) { mRestoreMiniProgressBox->setHidden(hidden); }

void TXTabViewController::setBackupMiniPercentage(const QString &text)
{
    mBackupMiniPercentage = text;
    mBackupMiniProgressBox->setText(tr("Backup in progress: %1").arg(text));
}

void TXTabViewController::setRestoreMiniPercentage(const QString &text)
{
    mRestoreMiniPercentage = text;
    mRestoreMiniProgressBox->setText(tr("Restore in progress: %1").arg(text));
}

void TXTabViewController::showSchedulerScreen()
{
    if (schedulerLineEnablesJobs(mSchedulerMiniText->text())) {
        TextFile::write(QLLocalizedString(QStringLiteral("SchedulerStatus")), QStringLiteral("1"));
    }
    if (selectedRow() != kLogRow)
        displayLogView();
}

void TXTabViewController::setSchedulerLine(const QString &text) { mSchedulerMiniText->setText(text); }

void TXTabViewController::setLogoForMainScreen(bool mainScreen)
{
    const QPixmap logo =
        ClientArtwork::image(mainScreen ? QStringLiteral("portable_logo.png") : QStringLiteral("TXMiniLogo.png"));
    mLogoButton->setIcon(logo);
    mLogoButton->setIconSize(logo.deviceIndependentSize().toSize());
}

void TXTabViewController::displayGuide(bool) { mImgView1->hide(); }

void TXTabViewController::setControlsStatus(bool enabled)
{
    mTableView->setEnabled(enabled);
    mSearch->setEnabled(enabled);
    if (!enabled) {
        mBackupMiniProgressBox->hide();
        mRestoreMiniProgressBox->hide();
    }
    mSchedulerMiniText->setEnabled(enabled);
    mSchedulerScreenShowButton->setEnabled(enabled);
    mQuotaProgressIndicator->setEnabled(enabled);
    mUpgradeButton->setEnabled(enabled);
    mRecalculateButton->setEnabled(enabled);
}
