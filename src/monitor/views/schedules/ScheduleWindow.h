#pragma once

#include "monitor/editor/ScheduleActionsController.h"
#include "monitor/editor/SchedulePanelRules.h"
#include "monitor/views/schedules/ScheduleEditorSheet.h"

#include <QMainWindow>
#include <QPointer>

#include <chrono>
#include <optional>

class AlertPresenter;
class DayControl;
class QAction;
class QCheckBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QTableWidget;
class QTimer;
class QToolBar;
class TarnixSchedulerController;

struct ScheduleWindowTimings
{
    std::chrono::milliseconds refresh{5000};  // the list is read again while the window is shown
};

// The schedule window: every user's scheduled jobs, the toolbar and the
// Schedule menu (Edit, Immediate, Refresh, Stop Transfer, Delete), and beside
// the list the inline panel that shows the selected job and saves each change
// at once. The tray's Schedules item constructs it with the program's store
// and alert presenter and calls showSchedulerMainWindow().
class ScheduleWindow : public QMainWindow
{
    Q_OBJECT
public:
    ScheduleWindow(TarnixSchedulerController &store, AlertPresenter &alerts, ScheduleWindowTimings timings = {},
                   QWidget *parent = nullptr);
    ~ScheduleWindow() override;

    // Reads the list, shows the window in front and starts the refresh.
    void showSchedulerMainWindow();

    // The toolbar's and the menu's commands.
    void editSchedule();
    void ImmidiatelyRunSchedule();
    void ReloadSchedules();
    void stopRunningSchedule();
    void deleteSchedule();

    // The identity of the selected job; empty with none.
    QString selectedIdentity() const;
    void selectRecord(const QString &identity);

    QTableWidget *table() const { return mTable; }
    QToolBar *toolbar() const { return mToolbar; }
    QMenu *scheduleMenu() const { return mMenu; }
    QAction *stopMenuItem() const { return mStopItem; }
    ScheduleEditorSheet *editorSheet() const { return mSheet; }
    bool isRefreshing() const;
    // The inline panel.
    QCheckBox *dailyBox() const { return mDailyBox; }
    QCheckBox *immediateBox() const { return mImmediateBox; }
    DayControl *dayCells() const { return mDayCells; }
    QDateTimeEdit *panelTimePicker() const { return mPanelTime; }
    QCheckBox *panelEmailBox() const { return mPanelEmailBox; }
    QLineEdit *panelEmailField() const { return mPanelEmails; }
    QCheckBox *panelDesktopBox() const { return mPanelDesktop; }
    QCheckBox *panelMissedBox() const { return mPanelMissed; }
    QLabel *noteText() const { return mNote; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolbarAndMenu();
    QWidget *buildPanel();
    void showRecords();
    void validateMenu();
    std::optional<TarnixScheduleItem> selectedRecord() const;
    void updateUIForSelectedItem();
    void showPanel(const SchedulePanel &panel, bool editable);
    SchedulePanel panelFromControls(bool kindChosen) const;
    QString panelUser() const;
    // The panel's save (`kindChosen`: the days or boxes changed); asks first
    // when it would leave the user no job.
    void updateSchedulerDetails(bool kindChosen);
    void showOutcome(const ScheduleActionsController::Outcome &outcome);
    void startRefreshTimer();
    void stopRefreshTimer();

    ScheduleActionsController mActions;
    AlertPresenter &mAlerts;
    QTimer *mRefresh;
    QTableWidget *mTable = nullptr;
    QToolBar *mToolbar = nullptr;
    QMenu *mMenu = nullptr;
    QAction *mStopItem = nullptr;
    QPointer<ScheduleEditorSheet> mSheet;
    QWidget *mPanel = nullptr;
    QCheckBox *mDailyBox = nullptr;
    QCheckBox *mImmediateBox = nullptr;
    DayControl *mDayCells = nullptr;
    QDateTimeEdit *mPanelTime = nullptr;
    QDateTimeEdit *mPanelCutoff = nullptr;
    QCheckBox *mPanelEmailBox = nullptr;
    QLineEdit *mPanelEmails = nullptr;
    QCheckBox *mPanelDesktop = nullptr;
    QCheckBox *mPanelMissed = nullptr;
    QList<QWidget *> mPanelControls;
    QLabel *mNote = nullptr;
    QString mRefusal;  // why the panel's last change was not saved
};
