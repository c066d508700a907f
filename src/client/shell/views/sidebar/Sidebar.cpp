#include "client/shell/views/sidebar/Sidebar.h"

#include "client/shell/sidebar/SidebarRules.h"
#include "client/shell/sidebar/TXTabViewControllerDelegate.h"
#include "client/shell/views/sidebar/EventCatcherView.h"
#include "client/shell/views/sidebar/FrameButtons.h"
#include "client/shell/views/sidebar/MyTextFieldCell.h"
#include "client/shell/views/sidebar/TXProgressIndicator.h"
#include "common/files/TextFile.h"
#include "common/texts/QLLocalizedString.h"
#include "desktop/kit/GroundViewGeometry.h"
#include "desktop/kit/views/ClientArtwork.h"
#include "desktop/kit/views/TXLevelIndicator.h"
#include "desktop/kit/views/TXMainTableView.h"
#include "platform/PathTemplate.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>

using namespace SidebarRules;
using FrameButtons::imageButton;

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

constexpr int kControlHeight = 26;
constexpr int kGap = 10;

QLabel *label(const QString &text, QWidget *parent, bool small = false)
{
    auto *field = new QLabel(text, parent);
    field->setStyleSheet(small ? QStringLiteral("color: rgb(51, 77, 89); font-size: 11px;")
                               : QStringLiteral("color: rgb(51, 77, 89); font-weight: bold;"));
    return field;
}

}  // namespace

Sidebar::Sidebar(TXTabViewControllerDelegate *delegate, Timings timings, QObject *parent)
    : QObject(parent)
    , mDelegate(delegate)
    , mTimings(timings)
{
    mCueTimer.setSingleShot(true);
    connect(&mCueTimer, &QTimer::timeout, this, &Sidebar::hideSwitchModeHelp);
}

Sidebar::~Sidebar() = default;

void Sidebar::build(QWidget *ground)
{
    mGround = ground;
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
            &Sidebar::tableViewSelectionChanged);

    mSearch = new QLineEdit(ground);
    mSearch->setPlaceholderText(kSearchPlaceholder);
    mSearch->setClearButtonEnabled(true);
    connect(mSearch, &QLineEdit::returnPressed, this, &Sidebar::searchEntered);

    mSwitchBkgrnd = imageButton(switchImages(true).background, ground);
    mSwitchMode = imageButton(switchImages(true).knob, ground);
    connect(mSwitchBkgrnd, &QPushButton::clicked, this, &Sidebar::toggleAppMode);
    connect(mSwitchMode, &QPushButton::clicked, this, &Sidebar::toggleAppMode);
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
    connect(mTriggerCalcQuotaView, &EventCatcherView::viewWasClicked, this, &Sidebar::viewWasClicked);
    mUpgradeButton = new QPushButton(tr("Upgrade"), ground);
    connect(mUpgradeButton, &QPushButton::clicked, this, &Sidebar::upgrade);
    mRecalculateButton = new QPushButton(tr("Refresh"), ground);
    connect(mRecalculateButton, &QPushButton::clicked, this, &Sidebar::reCalculateQuota);

    mBackupMiniProgressBox = new QPushButton(ground);
    mRestoreMiniProgressBox = new QPushButton(ground);
    connect(mBackupMiniProgressBox, &QPushButton::clicked, this, [this] {
        selectRow(kBackupRow);
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
    connect(mSchedulerScreenShowButton, &QPushButton::clicked, this, &Sidebar::showSchedulerScreen);

    mOnlineAppButton = imageButton(QStringLiteral("ql_p_online_logo.png"), ground);
    mOnlineAppButton->setToolTip(tr("Open the desktop application"));
    connect(mOnlineAppButton, &QPushButton::clicked, this, &Sidebar::openDesktopApplication);
    mImgView1 = new QLabel(ground);
    mImgView1->hide();

    setSwitchVisible(false);
    mBackupMiniProgressBox->hide();
    mRestoreMiniProgressBox->hide();
    QuotaCalculationIndicator->hide();
}

void Sidebar::layOut()
{
    const int left = kLeft + 8;
    const int inner = kWidth - 16;
    mTableView->setGeometry(kLeft, kFirstRowTop, kWidth, int(GroundViewGeometry::kRowPitch) * 3);
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

    const int bottom = mGround->height() - kMargin - 8;
    mOnlineAppButton->setGeometry(left, bottom - 28, 28, 28);
    mSchedulerScreenShowButton->setGeometry(left + 36, bottom - kControlHeight - 1, inner - 36, kControlHeight);
    mSchedulerMiniText->setGeometry(left, bottom - 28 - 22, inner, 18);
    mSchedulerMiniHeadingText->setGeometry(left, bottom - 28 - 42, inner, 18);
}

int Sidebar::selectedRow() const
{
    const QModelIndexList rows = mTableView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void Sidebar::selectRow(int row)
{
    mTableView->clearSelection();
    mTableView->selectRow(row);
}

void Sidebar::tableViewSelectionChanged()
{
    const int row = selectedRow();
    emit rowSelected(row);
    // A deselection on the way to another row (row -1) keeps the search text for that row.
    if (row >= 0 && row != kRestoreRow) {
        mSearch->setPlaceholderText(kSearchPlaceholder);
        mSearch->clear();
    }
    if (row == kRestoreRow && isSwitchModeVisible() && !isCueVisible())
        showVisualHelpForMode(mIsBackupMode);
}

void Sidebar::showSwitchImages(bool backupMode)
{
    const SwitchImages images = switchImages(backupMode);
    mSwitchMode->setIcon(ClientArtwork::image(images.knob));
    mSwitchBkgrnd->setIcon(ClientArtwork::image(images.background));
}

void Sidebar::changeSwichImageForMode(bool backupMode) { showSwitchImages(backupMode); }

void Sidebar::setTheLoginMode(bool backupMode)
{
    showSwitchImages(backupMode);
    emit backupOrSyncSetViewChanged(backupMode);
}

void Sidebar::toggleAppMode()
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
    selectRow(kBackupRow);
}

void Sidebar::writeModeFile(bool backupMode)
{
    TextFile::write(PathTemplate::fillTemplate(QLLocalizedString(QStringLiteral("BackupModePath")),
                                               {mDelegate->loggedInUserName()}),
                    modeFileText(backupMode));
}

void Sidebar::showVisualHelpForMode(bool backupMode)
{
    const Activity activity = mDelegate->runningActivity();
    if (activity.backupRunning || activity.restoreRunning || activity.reIndexRunning)
        return;
    mSwitchModeHelp->setPixmap(ClientArtwork::image(switchCueImage(backupMode)));
    mSwitchModeHelp->show();
    mSwitchModeHelp->raise();
    mCueTimer.start(mTimings.cueVisible);
}

void Sidebar::hideSwitchModeHelp() { mSwitchModeHelp->hide(); }

void Sidebar::hideSwitchVisaulHelp(bool hidden) { mSwitchModeHelp->setHidden(hidden); }

bool Sidebar::isSwitchModeVisible() const { return !mSwitchBkgrnd->isHidden(); }

bool Sidebar::isCueVisible() const { return !mSwitchModeHelp->isHidden(); }

void Sidebar::setSwitchVisible(bool visible)
{
    mSwitchBkgrnd->setVisible(visible);
    mSwitchMode->setVisible(visible);
    layOut();
}

void Sidebar::setQuotaPercentage(int percent) { mQuotaProgressIndicator->setPercentage(percent); }

void Sidebar::viewWasClicked()
{
    if (mDelegate->loggedInUserName().isEmpty() || mSpaceUsedRunning)
        return;
    mSpaceUsedRunning = true;
    QuotaCalculationIndicator->show();
    emit spaceUsedCalculationRequested();
}

void Sidebar::folderSizeCalculationDidFinish(const QVariantMap &output)
{
    mSpaceUsedRunning = false;
    QuotaCalculationIndicator->hide();
    if (const auto text = SidebarRules::spaceUsedText(output))
        mQuotaLable->setText(*text);
}

void Sidebar::folderSizeCalculationDidFail()
{
    mSpaceUsedRunning = false;
    QuotaCalculationIndicator->hide();
    mQuotaLable->setText(kSpaceUsedFailure);
}

QString Sidebar::spaceUsedText() const { return mQuotaLable->text(); }

void Sidebar::setBackupMiniProgressHidden(bool hidden) { mBackupMiniProgressBox->setHidden(hidden); }

void Sidebar::setRestoreMiniProgressHidden(bool hidden) { mRestoreMiniProgressBox->setHidden(hidden); }

void Sidebar::setBackupMiniPercentage(const QString &text)
{
    mBackupMiniPercentage = text;
    mBackupMiniProgressBox->setText(tr("Backup in progress: %1").arg(text));
}

void Sidebar::setRestoreMiniPercentage(const QString &text)
{
    mRestoreMiniPercentage = text;
    mRestoreMiniProgressBox->setText(tr("Restore in progress: %1").arg(text));
}

void Sidebar::showSchedulerScreen()
{
    if (schedulerLineEnablesJobs(mSchedulerMiniText->text())) {
        TextFile::write(QLLocalizedString(QStringLiteral("SchedulerStatus")), QStringLiteral("1"));
    }
    if (selectedRow() != kLogRow)
        selectRow(kLogRow);
}

void Sidebar::setSchedulerLine(const QString &text) { mSchedulerMiniText->setText(text); }

void Sidebar::displayGuide(bool) { mImgView1->hide(); }

void Sidebar::setControlsStatus(bool enabled)
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
