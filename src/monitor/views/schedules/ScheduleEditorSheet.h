#pragma once

#include "monitor/editor/ScheduleEditorState.h"
#include "monitor/schedules/TarnixScheduleItem.h"

#include <QDialog>

#include <array>

class AlertPresenter;
class DayControl;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ScheduleActionsController;

// The edit sheet of one schedule, modal to the schedule window: how often and
// when the job runs, its notifications, the cut-off time and missed jobs.
// Update stores the job through the store; when the store refuses (a job is
// running) the sheet stays open and says that nothing was saved.
class ScheduleEditorSheet : public QDialog
{
    Q_OBJECT
public:
    // `replacesRepeatingJobs`: the job is a one-off of a user with other jobs,
    // which a repeating choice replaces.
    ScheduleEditorSheet(ScheduleActionsController &actions, AlertPresenter &alerts, const TarnixScheduleItem &record,
                        bool replacesRepeatingJobs, QWidget *parent);

    QRadioButton *rowButton(int row) const { return mRows[row]; }
    DayControl *dayControl() const { return mDays; }
    QDateTimeEdit *timePicker() const { return mTime; }
    QComboBox *dayOfMonth() const { return mDayOfMonth; }
    QCheckBox *cutoffBox() const { return mCutoffBox; }
    QDateTimeEdit *cutoffPicker() const { return mCutoff; }
    QCheckBox *emailBox() const { return mEmailBox; }
    QLineEdit *emailField() const { return mEmails; }
    QCheckBox *logExtractBox() const { return mLogExtract; }
    QRadioButton *notifyAlways() const { return mNotifyAlways; }
    QRadioButton *notifyOnFailure() const { return mNotifyOnFailure; }
    QCheckBox *desktopNotificationBox() const { return mDesktop; }
    QCheckBox *missedJobBox() const { return mMissed; }
    QPushButton *updateButton() const { return mUpdate; }
    QLabel *notSavedText() const { return mNotSaved; }

private:
    void build();
    void fill();
    void showState();
    void rowClicked(int row);
    void cutoffClicked();
    void updateSchedule();
    void showNotSaved(const QString &message);

    ScheduleActionsController &mActions;
    AlertPresenter &mAlerts;
    const TarnixScheduleItem mOriginal;
    TarnixScheduleItem mEdited;
    const bool mReplacesRepeatingJobs;
    ScheduleEditorState mState;

    std::array<QRadioButton *, 4> mRows{};
    DayControl *mDays = nullptr;
    QDateTimeEdit *mTime = nullptr;
    QComboBox *mDayOfMonth = nullptr;
    QCheckBox *mCutoffBox = nullptr;
    QDateTimeEdit *mCutoff = nullptr;
    QCheckBox *mEmailBox = nullptr;
    QLineEdit *mEmails = nullptr;
    QCheckBox *mLogExtract = nullptr;
    QRadioButton *mNotifyAlways = nullptr;
    QRadioButton *mNotifyOnFailure = nullptr;
    QCheckBox *mDesktop = nullptr;
    QCheckBox *mMissed = nullptr;
    QPushButton *mUpdate = nullptr;
    QLabel *mNotSaved = nullptr;
};
