#include "monitor/views/schedules/ScheduleEditorSheet.h"

#include "common/texts/QLLocalizedString.h"
#include "desktop/alerts/AlertPresenter.h"
#include "monitor/editor/ScheduleActionsController.h"
#include "monitor/editor/ScheduleEditorRules.h"
#include "monitor/views/schedules/DayControl.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <functional>

namespace {

QString text(const QString &key) { return QLLocalizedString(key); }

// The day-of-month list, which tells when it is about to open.
class DayOfMonthList : public QComboBox
{
public:
    using QComboBox::QComboBox;
    std::function<void()> willPop;
    void showPopup() override
    {
        if (willPop)
            willPop();
        QComboBox::showPopup();
    }
};

}  // namespace

ScheduleEditorSheet::ScheduleEditorSheet(ScheduleActionsController &actions, AlertPresenter &alerts,
                                         const TarnixScheduleItem &record, bool replacesRepeatingJobs, QWidget *parent)
    : QDialog(parent)
    , mActions(actions)
    , mAlerts(alerts)
    , mOriginal(record)
    , mEdited(record)
    , mReplacesRepeatingJobs(replacesRepeatingJobs)
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(text(QStringLiteral("Edit Schedule")));
    build();
    fill();
}

void ScheduleEditorSheet::build()
{
    auto *layout = new QVBoxLayout(this);

    auto *when = new QGroupBox(text(QStringLiteral("Time Settings")), this);
    auto *whenLayout = new QVBoxLayout(when);
    const QList<QString> titles{ScheduleEditorRules::kDailyTitle, ScheduleEditorRules::kHourlyTitle,
                                ScheduleEditorRules::kImmediateTitle, ScheduleEditorRules::kMonthlyTitle};
    for (int row = 0; row < 4; ++row) {
        // The rows are checked from the sheet's state, which may leave none checked.
        mRows[row] = new QRadioButton(text(titles[row]), when);
        mRows[row]->setAutoExclusive(false);
        connect(mRows[row], &QRadioButton::clicked, this, [this, row] { rowClicked(row); });
        whenLayout->addWidget(mRows[row]);
        if (row == ScheduleEditorState::DailyRow) {
            mDays = new DayControl(when);
            mDays->setMinimumWidth(350);
            whenLayout->addWidget(mDays);
            connect(mDays, &DayControl::stateDidChange, this, [this] {
                mState.days = mDays->state();
                ScheduleEditorRules::daysChanged(mState);
                showState();
            });
        }
    }
    auto *times = new QFormLayout;
    mTime = new QDateTimeEdit(when);
    mTime->setDisplayFormat(QStringLiteral("hh:mm:ss AP"));
    times->addRow(text(QStringLiteral("Time:")), mTime);
    auto *dayList = new DayOfMonthList(when);
    for (int day = 1; day <= 31; ++day)
        dayList->addItem(QString::number(day), day);
    dayList->willPop = [this] {
        ScheduleEditorRules::dayListWillOpen(mState);
        showState();
    };
    mDayOfMonth = dayList;
    times->addRow(text(QStringLiteral("Day of the month:")), mDayOfMonth);
    whenLayout->addLayout(times);
    layout->addWidget(when);

    auto *notify = new QGroupBox(text(QStringLiteral("Notifications")), this);
    auto *notifyLayout = new QVBoxLayout(notify);
    mEmailBox = new QCheckBox(text(QStringLiteral("Send e-mail notification to:")), notify);
    mEmails = new QLineEdit(notify);
    mEmails->setPlaceholderText(QStringLiteral("name@example.com, other@example.com"));
    mLogExtract = new QCheckBox(text(QStringLiteral("Attach an extract of the log")), notify);
    mNotifyAlways = new QRadioButton(text(QStringLiteral("Always")), notify);
    mNotifyOnFailure = new QRadioButton(text(QStringLiteral("Only on failure")), notify);
    auto *pair = new QButtonGroup(notify);
    pair->addButton(mNotifyAlways);
    pair->addButton(mNotifyOnFailure);
    auto *pairRow = new QHBoxLayout;
    pairRow->addWidget(mNotifyAlways);
    pairRow->addWidget(mNotifyOnFailure);
    pairRow->addStretch();
    mDesktop = new QCheckBox(text(QStringLiteral("Show desktop notifications for scheduled jobs")), notify);
    mMissed = new QCheckBox(text(QStringLiteral("Start missed scheduled backups")), notify);
    auto *cutoffRow = new QHBoxLayout;
    mCutoffBox = new QCheckBox(text(QStringLiteral("Cut-off time:")), notify);
    mCutoff = new QDateTimeEdit(notify);
    mCutoff->setDisplayFormat(QStringLiteral("hh:mm:ss AP"));
    cutoffRow->addWidget(mCutoffBox);
    cutoffRow->addWidget(mCutoff, 1);
    for (QWidget *w : std::initializer_list<QWidget *>{mEmailBox, mEmails, mLogExtract})
        notifyLayout->addWidget(w);
    notifyLayout->addLayout(pairRow);
    notifyLayout->addWidget(mDesktop);
    notifyLayout->addWidget(mMissed);
    notifyLayout->addLayout(cutoffRow);
    layout->addWidget(notify);
    connect(mEmailBox, &QCheckBox::clicked, this, [this](bool on) {
        mState.emailOn = on;
        showState();
    });
    connect(mCutoffBox, &QCheckBox::clicked, this, [this] { cutoffClicked(); });

    mNotSaved = new QLabel(this);
    mNotSaved->setWordWrap(true);
    mNotSaved->setStyleSheet(QStringLiteral("color: #b00000;"));
    mNotSaved->hide();
    layout->addWidget(mNotSaved);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *cancel = new QPushButton(text(QStringLiteral("Cancel")), this);
    mUpdate = new QPushButton(text(QStringLiteral("Update")), this);
    mUpdate->setDefault(true);
    buttons->addWidget(cancel);
    buttons->addWidget(mUpdate);
    layout->addLayout(buttons);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(mUpdate, &QPushButton::clicked, this, [this] { updateSchedule(); });
}

void ScheduleEditorSheet::fill()
{
    mState = ScheduleEditorRules::open(mEdited);
    mTime->setDateTime(mEdited.scheduleTime());
    mDayOfMonth->setCurrentIndex(
        (mState.checkedRow == ScheduleEditorState::MonthlyRow ? mEdited.scheduleTime().date() : QDate::currentDate())
            .day() -
        1);
    mEmailBox->setChecked(mEdited.sendEmailNotification());
    mEmails->setText(mEdited.emailids());
    mLogExtract->setChecked(mEdited.sendLogExtract());
    (mEdited.notifyOnFailure() ? mNotifyOnFailure : mNotifyAlways)->setChecked(true);
    const SchedulerPreferences::Settings settings = mActions.preferences().read(mEdited.tarnixUserName());
    mState.cutoffOn = settings.cutoffOn;
    mCutoffBox->setChecked(settings.cutoffOn);
    mCutoff->setDateTime(settings.cutoffOn && settings.cutoff.isValid() ? settings.cutoff
                                                                        : QDateTime::currentDateTime());
    mDesktop->setChecked(settings.desktopNotification);
    mMissed->setChecked(settings.startMissed);
    showState();
}

void ScheduleEditorSheet::showState()
{
    for (int row = 0; row < 4; ++row)
        mRows[row]->setChecked(mState.checkedRow == row);
    mRows[ScheduleEditorState::DailyRow]->setText(text(ScheduleEditorRules::firstRowTitle(mState)));
    mDays->setState(mState.days);
    const ScheduleEditorEnabled on = ScheduleEditorRules::enabled(mState);
    mTime->setEnabled(on.timePicker);
    mDesktop->setEnabled(on.desktopNotification);
    mEmails->setEnabled(on.emailField);
    mEmailBox->setEnabled(on.emailBox);
    mCutoffBox->setEnabled(on.cutoffBox);
    mCutoff->setEnabled(on.cutoffPicker);
    mLogExtract->setEnabled(on.logExtract);
    mNotifyAlways->setEnabled(on.notifyRadios);
    mNotifyOnFailure->setEnabled(on.notifyRadios);
    mDayOfMonth->setEnabled(on.dayOfMonth);
}

void ScheduleEditorSheet::rowClicked(int row)
{
    ScheduleEditorRules::rowClicked(mState, row, mEdited, QDateTime::currentDateTime());
    mTime->setDateTime(mEdited.scheduleTime());
    showState();
}

void ScheduleEditorSheet::cutoffClicked()
{
    if (mCutoffBox->isChecked()) {
        AlertRequest question{
            text(QStringLiteral("ApplicationName")),
            text(QStringLiteral("You have set '%@' as the cut-off time for the scheduled backup "
                                "operation. This may terminate the scheduled job before it "
                                "completes.\n\n"))
                .replace(QStringLiteral("%@"), mCutoff->time().toString(QStringLiteral("hh:mm:ss AP"))),
            text(QStringLiteral("No")),
            text(QStringLiteral("Yes")),
            QString(),
            QString()};
        if (mAlerts.runModalAlert(question) != 0) {
            mCutoffBox->setChecked(false);
            mCutoff->setDateTime(QDateTime::currentDateTime());
        }
    }
    mState.cutoffOn = mCutoffBox->isChecked();
    showState();
    if (!mActions.preferences().writeCutoff(mEdited.tarnixUserName(), mState.cutoffOn, mCutoff->dateTime()))
        showNotSaved(text(QStringLiteral("The cut-off time could not be saved.")));
}

void ScheduleEditorSheet::showNotSaved(const QString &message)
{
    mNotSaved->setText(message);
    mNotSaved->show();
}

void ScheduleEditorSheet::updateSchedule()
{
    TarnixScheduleItem record = mEdited;
    record.setSendEmailNotification(mEmailBox->isChecked());
    record.setEmailids(mEmails->text().trimmed());
    record.setSendLogExtract(mLogExtract->isChecked());
    record.setNotifyOnFailure(mNotifyOnFailure->isChecked());
    record.setShouldStartMissedScheduleBackup(mMissed->isChecked());
    const QDateTime now = QDateTime::currentDateTime();
    if (!ScheduleEditorRules::applyChoice(mState, record, mTime->dateTime(), mDayOfMonth->currentData().toInt(), now)) {
        // No choice left means no job: asked first, never deleted silently.
        const AlertRequest question{text(QStringLiteral("ApplicationName")),
                                    text(QStringLiteral("No time setting is chosen. Are you sure you wish to delete "
                                                        "the Scheduled job?")),
                                    text(QStringLiteral("No")),
                                    text(QStringLiteral("Yes")),
                                    QString(),
                                    QString()};
        if (mAlerts.runModalAlert(question) != 0)
            return;
        const auto outcome = mActions.deleteRecords({mOriginal.identityKey()});
        if (!outcome.saved())
            return showNotSaved(outcome.message);
        accept();
        return;
    }
    if (const auto problem = ScheduleEditorRules::emailProblem(record)) {
        mAlerts.inform(text(*problem));
        return;
    }
    const auto outcome = mActions.saveEdit(mOriginal, record, mReplacesRepeatingJobs);
    if (!outcome.saved())
        return showNotSaved(outcome.message);
    if (!mActions.preferences().write(record.tarnixUserName(), {mCutoffBox->isChecked(), mCutoff->dateTime(),
                                                                mDesktop->isChecked(), mMissed->isChecked()}))
        return showNotSaved(
            text(QStringLiteral("The schedule was saved, but its cut-off and notification settings could not be.")));
    accept();
}
