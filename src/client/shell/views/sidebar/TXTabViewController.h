#pragma once

#include "client/shell/sidebar/Tab.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QVariantMap>

#include <chrono>

class EventCatcherView;
class QAbstractButton;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QWidget;
class TXGroundView;
class TXLevelIndicator;
class TXMainTableView;
class TXMainWindow;
class TXProgressIndicator;
class TXTabView;
class TXTabViewControllerDelegate;

// The main window's frame: the sidebar with its three rows (Backup, Restore,
// Log) and the pages behind them, the search field, the backup/sync switch,
// the quota bar and the space used on the drive, the small progress boxes of
// a backup or restore running behind another page, the scheduler line, the
// logo buttons and the login button in the title strip. It also holds the
// backup/sync mode flag. What it cannot decide itself it signals.
struct TXTabViewControllerTimings
{
    std::chrono::milliseconds cueVisible{std::chrono::seconds(5)};
};

class TXTabViewController : public QObject
{
    Q_OBJECT
public:
    using Timings = TXTabViewControllerTimings;

    explicit TXTabViewController(TXTabViewControllerDelegate *delegate, Timings timings = {},
                                 QObject *parent = nullptr);
    ~TXTabViewController() override;

    // Builds the frame into the window, every tab with an empty page.
    void setControllers(TXMainWindow *window);
    // Replaces the page of a tab; the tab view owns it from then on.
    void setPageView(Tab tab, QWidget *page);

    // Sidebar rows and pages.
    void displayBackupView() { selectRow(0); }
    void displayRestoreView() { selectRow(1); }
    void displayLogView() { selectRow(2); }
    void displayRemoteView();
    void displaySearchView();
    void displayTrashView();
    void displaySearchViewForMenu();
    void displayTrashViewForMenu();
    int selectedRow() const;
    Tab selectedTab() const;
    void search();

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
    QPushButton *switchModeButton() const { return mSwitchMode; }
    QPushButton *logoButton() const { return mLogoButton; }
    QPushButton *onlineAppButton() const { return mOnlineAppButton; }
    void setSearchInProgress(bool running) { mIsSearchProgress = running; }
    void setTrashSearchInProgress(bool running) { mIsTrashSearchProgress = running; }
    bool isSearchInProgress() const { return mIsSearchProgress; }

    void showSchedulerScreen();
    void setSchedulerLine(const QString &text);
    void setLogoForMainScreen(bool mainScreen);
    void displayGuide(bool shown);
    // Requests for the Restore page's guides at the next showing of the Restore tab.
    void setDisplayGuide(bool display) { mRegularGuideDisplay = display; }
    void setDisplayRefreshGuide(bool display) { mDisplayRefreshGuide = display; }
    void setControlsStatus(bool enabled);

    QPushButton *loginButton() const { return mLoginButton; }
    QLineEdit *mSearchField() const { return mSearch; }
    TXGroundView *groundView() const { return mainBGView; }
    TXTabView *tabView() const { return mTabView; }

signals:
    // The Restore row was chosen (the Restore page reloads).
    void reloadRemoteView();
    // The Log row was chosen (the log viewer reloads its list).
    void reloadLogView();
    void displaySearchRequested(const QString &text, const QString &root);
    void displayTrashRequested(const QString &text, const QString &root);
    // The switch changed the mode; the mode file is written.
    void backupOrSyncSetViewChanged(bool backupMode);
    void modeSwitched();
    // The quota is to be measured again, the account upgraded, the account menu shown.
    void reCalculateQuota();
    void upgrade();
    void loginButtonClicked();
    // The space used on the drive is to be measured (answered with folderSizeCalculationDid...).
    void spaceUsedCalculationRequested();
    // A page of the maker's web site or an installed application is to be opened.
    void openProductPage();
    void openDesktopApplication();
    // Shows the re-index alert; the main controller owns alerts.
    void reIndexAlertRequested(const QString &message);
    void showBackupProgress();
    void showRestoreProgress();
    // The Restore tab is shown with a guide requested (each request is answered once).
    void displayRemoteGuide();
    void displayRemoteRefreshGuide();

private:
    void buildSidebar(QWidget *ground);
    void buildTitleStrip(TXMainWindow *window);
    void layOut();
    void selectRow(int row);
    void showTab(Tab tab);
    void tableViewSelectionChanged();
    void setSwitchVisible(bool visible);
    void writeModeFile(bool backupMode);
    void showSwitchImages(bool backupMode);

    TXTabViewControllerDelegate *mDelegate;
    Timings mTimings;
    QPointer<TXMainWindow> mWindow;
    TXGroundView *mainBGView = nullptr;
    TXMainTableView *mTableView = nullptr;
    QStandardItemModel *mDataModel = nullptr;
    TXTabView *mTabView = nullptr;
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
    QPushButton *mLogoButton = nullptr;
    QPushButton *mOnlineAppButton = nullptr;
    QPushButton *mLoginButton = nullptr;
    QLabel *mImgView1 = nullptr;
    QTimer mCueTimer;
    int mLastSelectedIndex = 0;
    bool mIsBackupMode = true;
    bool mIsSearchProgress = false;
    bool mIsTrashSearchProgress = false;
    bool mSpaceUsedRunning = false;
    bool mRegularGuideDisplay = false;
    bool mDisplayRefreshGuide = false;
};
