#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

#include <chrono>

class EventCatcherView;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QWidget;
class TXLevelIndicator;
class TXMainTableView;
class TXProgressIndicator;
class TXTabViewControllerDelegate;

struct SidebarTimings
{
    std::chrono::milliseconds cueVisible{std::chrono::seconds(5)};
};

// The sidebar on the left of the main window: its three rows (Backup, Restore, Log),
// the search field, the backup/sync switch and its cue, the quota bar and the space
// used on the drive, the small progress boxes of a backup or restore running behind
// another page, the scheduler line and the desktop-application button. It holds the
// backup/sync mode flag. Which page a row shows, and what a search opens, is for the
// page switcher (TXTabViewController) that hears rowSelected and searchEntered; what
// neither can decide goes out as a signal.
class Sidebar : public QObject
{
    Q_OBJECT
public:
    using Timings = SidebarTimings;

    // Where the sidebar lies, in the window's coordinates; the pages lie to its right, their
    // top beside its first row, and both keep the margin from the window's edges.
    static constexpr int kLeft = 6;
    static constexpr int kWidth = 196;
    static constexpr int kFirstRowTop = 50;  // row n lies beside the ground view's marker for row n
    static constexpr int kMargin = 8;

    explicit Sidebar(TXTabViewControllerDelegate *delegate, Timings timings = {}, QObject *parent = nullptr);
    ~Sidebar() override;

    // Puts the sidebar's controls on the main window's ground view, which owns them.
    void build(QWidget *ground);
    // Places them along the ground's left edge; the scheduler line sits at its bottom.
    void layOut();

    // Rows: row n shows the page of Tab n.
    void selectRow(int row);
    int selectedRow() const;
    QLineEdit *mSearchField() const { return mSearch; }

    // Mode switch.
    bool mBackupMode() const { return mIsBackupMode; }
    void setMBackupMode(bool backupMode) { mIsBackupMode = backupMode; }
    void changeSwichImageForMode(bool backupMode);
    void setTheLoginMode(bool backupMode);
    void toggleAppMode();
    void showVisualHelpForMode(bool backupMode);
    void hideSwitchModeHelp();
    void hideSwitchVisaulHelp(bool hidden);
    void hideSwitchMode() { setSwitchVisible(false); }
    void showSwitchMode() { setSwitchVisible(true); }
    bool isSwitchModeVisible() const;
    bool isCueVisible() const;
    QPushButton *switchModeButton() const { return mSwitchMode; }

    // Quota and space used.
    void setQuotaPercentage(int percent);
    void viewWasClicked();
    void folderSizeCalculationDidFinish(const QVariantMap &output);
    void folderSizeCalculationDidFail();
    QString spaceUsedText() const;

    // Progress boxes.
    void setBackupMiniProgressHidden(bool hidden);
    void setRestoreMiniProgressHidden(bool hidden);
    void setBackupMiniPercentage(const QString &text);
    void setRestoreMiniPercentage(const QString &text);
    // Clicking it brings the backup's progress pane forward.
    QPushButton *backupMiniProgressBox() const { return mBackupMiniProgressBox; }

    void showSchedulerScreen();
    void setSchedulerLine(const QString &text);
    QPushButton *onlineAppButton() const { return mOnlineAppButton; }
    void displayGuide(bool shown);
    void setControlsStatus(bool enabled);

signals:
    // A row was chosen; -1 while the selection moves from one row to another.
    void rowSelected(int row);
    // Return was pressed in the search field.
    void searchEntered();
    // The switch or the login changed the mode; a switch also writes the mode file and
    // then announces modeSwitched.
    void backupOrSyncSetViewChanged(bool backupMode);
    void modeSwitched();
    // The quota is to be measured again, the account upgraded.
    void reCalculateQuota();
    void upgrade();
    // The space used on the drive is to be measured (answered with folderSizeCalculationDid...).
    void spaceUsedCalculationRequested();
    // The maker's desktop application is to be opened.
    void openDesktopApplication();
    // A progress box was clicked: the Backup row is chosen first for a backup's.
    void showBackupProgress();
    void showRestoreProgress();

private:
    void tableViewSelectionChanged();
    void setSwitchVisible(bool visible);
    void writeModeFile(bool backupMode);
    void showSwitchImages(bool backupMode);

    TXTabViewControllerDelegate *mDelegate;
    Timings mTimings;
    QWidget *mGround = nullptr;
    TXMainTableView *mTableView = nullptr;
    QStandardItemModel *mDataModel = nullptr;
    QLineEdit *mSearch = nullptr;
    QPushButton *mSwitchBkgrnd = nullptr;
    QPushButton *mSwitchMode = nullptr;
    QLabel *mSwitchModeHelp = nullptr;
    TXLevelIndicator *mQuotaProgressIndicator = nullptr;
    QLabel *mQuotaHeading = nullptr;
    QLabel *mQuotaLable = nullptr;
    QLabel *QuotaCalculationIndicator = nullptr;
    EventCatcherView *mTriggerCalcQuotaView = nullptr;
    TXProgressIndicator *mProgressIndicator = nullptr;
    QPushButton *mUpgradeButton = nullptr;
    QPushButton *mRecalculateButton = nullptr;
    QPushButton *mBackupMiniProgressBox = nullptr;
    QPushButton *mRestoreMiniProgressBox = nullptr;
    QString mBackupMiniPercentage;
    QString mRestoreMiniPercentage;
    QLabel *mSchedulerMiniHeadingText = nullptr;
    QLabel *mSchedulerMiniText = nullptr;
    QPushButton *mSchedulerScreenShowButton = nullptr;
    QPushButton *mOnlineAppButton = nullptr;
    QLabel *mImgView1 = nullptr;
    QTimer mCueTimer;
    bool mIsBackupMode = true;
    bool mSpaceUsedRunning = false;
};
