#include "monitor/views/schedules/ScheduleWindow.h"

#include "common/texts/QLLocalizedString.h"
#include "desktop/alerts/AlertPresenter.h"
#include "monitor/editor/ScheduleMenuRules.h"
#include "monitor/views/schedules/DayControl.h"
#include "monitor/views/schedules/ScheduleEditorSheet.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QString windowText(const QString &key) { return QLLocalizedString(key); }

enum Column
{
    TypeColumn,
    TimeColumn,
    FrequencyColumn,
    StatusColumn,
    DestinationColumn,
    UserColumn,
    ColumnCount
};

}  // namespace

ScheduleWindow::ScheduleWindow(TarnixSchedulerController &store, AlertPresenter &alerts, ScheduleWindowTimings timings,
                               QWidget *parent)
    : QMainWindow(parent)
    , mActions(store)
    , mAlerts(alerts)
    , mRefresh(new QTimer(this))
{
    setWindowTitle(windowText(QStringLiteral("Scheduler")));
    mRefresh->setInterval(timings.refresh);
    connect(mRefresh, &QTimer::timeout, this, &ScheduleWindow::ReloadSchedules);

    mTable = new QTableWidget(0, ColumnCount, this);
    mTable->setHorizontalHeaderLabels({windowText(QStringLiteral("Type")), windowText(QStringLiteral("Schedule Time")),
                                       windowText(QStringLiteral("Frequency")), windowText(QStringLiteral("Status")),
                                       windowText(QStringLiteral("Destination")), windowText(QStringLiteral("User"))});
    mTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTable->setSelectionMode(QAbstractItemView::SingleSelection);
    mTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mTable->verticalHeader()->hide();
    mTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    mTable->horizontalHeader()->setStretchLastSection(true);
    mTable->setStyleSheet(QStringLiteral("QTableWidget::item:selected { color: white; background: #4f7fa8; }"));
    connect(mTable, &QTableWidget::itemSelectionChanged, this, &ScheduleWindow::updateUIForSelectedItem);
    connect(mTable->horizontalHeader(), &QHeaderView::sectionClicked, this, &ScheduleWindow::ReloadSchedules);

    auto *split = new QSplitter(this);
    split->addWidget(mTable);
    split->addWidget(buildPanel());
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({700, 420});
    setCentralWidget(split);
    buildToolbarAndMenu();
    resize(1140, 520);
    ReloadSchedules();
}

ScheduleWindow::~ScheduleWindow()
{
    // A field that loses its focus while the window goes must not save into a half-destroyed window.
    for (QWidget *control : std::as_const(mPanelControls))
        control->disconnect(this);
}

void ScheduleWindow::buildToolbarAndMenu()
{
    mToolbar = addToolBar(QStringLiteral("Tarnix Scheduler Toolbar Identifier"));
    mToolbar->setObjectName(QStringLiteral("Tarnix Scheduler Toolbar Identifier"));
    mToolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    mToolbar->setMovable(false);
    mMenu = menuBar()->addMenu(windowText(QStringLiteral("Schedule")));
    struct Item
    {
        const char *identifier;
        const char *label;
        QStyle::StandardPixmap image;
        void (ScheduleWindow::*action)();
        ScheduleMenuRules::Command command;
    };
    const Item items[] = {
        {"EditItem", "Edit", QStyle::SP_FileDialogDetailedView, &ScheduleWindow::editSchedule,
         ScheduleMenuRules::Command::Edit},
        {"ImmediateItem", "Immediate", QStyle::SP_MediaPlay, &ScheduleWindow::ImmidiatelyRunSchedule,
         ScheduleMenuRules::Command::Immediate},
        {"RefreshItem", "Refresh", QStyle::SP_BrowserReload, &ScheduleWindow::ReloadSchedules,
         ScheduleMenuRules::Command::Refresh},
        {"StopTransferItem", "Stop Transfer", QStyle::SP_MediaStop, &ScheduleWindow::stopRunningSchedule,
         ScheduleMenuRules::Command::Stop},
        {"DeleteItem", "Delete", QStyle::SP_TrashIcon, &ScheduleWindow::deleteSchedule,
         ScheduleMenuRules::Command::Delete},
    };
    for (const Item &item : items) {
        if (!mToolbar->actions().isEmpty()) {
            auto *space = new QWidget(mToolbar);
            space->setFixedWidth(12);
            mToolbar->addWidget(space);
        }
        // The toolbar's labels are the same in every brand, as the product has them.
        QAction *tool = mToolbar->addAction(style()->standardIcon(item.image), QString::fromUtf8(item.label));
        tool->setObjectName(QString::fromUtf8(item.identifier));
        connect(tool, &QAction::triggered, this, item.action);
        QAction *menuItem = mMenu->addAction(QString::fromUtf8(item.label));
        menuItem->setData(int(item.command));
        connect(menuItem, &QAction::triggered, this, item.action);
        if (item.command == ScheduleMenuRules::Command::Stop)
            mStopItem = menuItem;
    }
    auto *flexible = new QWidget(mToolbar);
    flexible->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    mToolbar->addWidget(flexible);
    connect(mMenu, &QMenu::aboutToShow, this, &ScheduleWindow::validateMenu);
}

void ScheduleWindow::validateMenu()
{
    const auto selected = selectedRecord();
    for (QAction *item : mMenu->actions())
        item->setEnabled(ScheduleMenuRules::isEnabled(ScheduleMenuRules::Command(item->data().toInt()), selected));
}

QWidget *ScheduleWindow::buildPanel()
{
    auto *panel = new QGroupBox(windowText(QStringLiteral("Schedule")), this);
    mPanel = panel;
    auto *layout = new QVBoxLayout(panel);
    mDailyBox = new QCheckBox(windowText(SchedulePanelRules::kDailyTitle), panel);
    mImmediateBox = new QCheckBox(windowText(QStringLiteral("Immediate")), panel);
    mDayCells = new DayControl(panel);
    mDayCells->setMinimumWidth(350);
    auto *form = new QFormLayout;
    mPanelTime = new QDateTimeEdit(panel);
    mPanelTime->setDisplayFormat(QStringLiteral("hh:mm:ss AP"));
    mPanelCutoff = new QDateTimeEdit(panel);
    mPanelCutoff->setDisplayFormat(QStringLiteral("hh:mm:ss AP"));
    form->addRow(windowText(QStringLiteral("Time:")), mPanelTime);
    form->addRow(windowText(QStringLiteral("Cut-off time:")), mPanelCutoff);
    mPanelEmailBox = new QCheckBox(windowText(QStringLiteral("Send e-mail notification to:")), panel);
    mPanelEmails = new QLineEdit(panel);
    mPanelDesktop = new QCheckBox(windowText(QStringLiteral("Show a desktop notification")), panel);
    mPanelMissed = new QCheckBox(windowText(QStringLiteral("Start missed scheduled backups")), panel);
    mNote = new QLabel(panel);
    mNote->setWordWrap(true);
    mNote->setStyleSheet(QStringLiteral("color: #b00000;"));
    auto *boxes = new QHBoxLayout;
    boxes->addWidget(mDailyBox);
    boxes->addWidget(mImmediateBox);
    boxes->addStretch();
    layout->addLayout(boxes);
    layout->addWidget(mDayCells);
    layout->addLayout(form);
    for (QWidget *w : std::initializer_list<QWidget *>{mPanelEmailBox, mPanelEmails, mPanelDesktop, mPanelMissed})
        layout->addWidget(w);
    layout->addStretch();
    layout->addWidget(mNote);
    mPanelControls = {mDailyBox,      mImmediateBox, mDayCells,     mPanelTime,  mPanelCutoff,
                      mPanelEmailBox, mPanelEmails,  mPanelDesktop, mPanelMissed};

    connect(mDayCells, &DayControl::stateDidChange, this, [this] {
        mDailyBox->setChecked(mDayCells->state().count() > 0);
        if (mDailyBox->isChecked())
            mImmediateBox->setChecked(false);
        updateSchedulerDetails(true);
    });
    connect(mDailyBox, &QCheckBox::clicked, this, [this](bool on) {
        DayRowState days;
        days.setDayState(on ? DayRowState::kAllOn : DayRowState::kNoneOn);
        mDayCells->setState(days);
        if (on)
            mImmediateBox->setChecked(false);
        updateSchedulerDetails(true);
    });
    connect(mImmediateBox, &QCheckBox::clicked, this, [this](bool on) {
        if (on) {
            mDailyBox->setChecked(false);
            mDayCells->setState(DayRowState());
            mPanelTime->setDateTime(QDateTime::currentDateTime());
        }
        updateSchedulerDetails(true);
    });
    const auto saveSettings = [this] { updateSchedulerDetails(false); };
    connect(mPanelTime, &QDateTimeEdit::editingFinished, this, saveSettings);
    connect(mPanelEmailBox, &QCheckBox::clicked, this, [this](bool on) {
        mPanelEmails->setEnabled(on);
        updateSchedulerDetails(false);
    });
    connect(mPanelEmails, &QLineEdit::editingFinished, this, saveSettings);
    connect(mPanelDesktop, &QCheckBox::clicked, this, saveSettings);
    connect(mPanelMissed, &QCheckBox::clicked, this, saveSettings);
    return panel;
}

void ScheduleWindow::showSchedulerMainWindow()
{
    ReloadSchedules();
    show();
    raise();
    activateWindow();
    startRefreshTimer();
}

bool ScheduleWindow::isRefreshing() const { return mRefresh->isActive(); }

void ScheduleWindow::startRefreshTimer()
{
    if (isVisible())
        mRefresh->start();
}

void ScheduleWindow::stopRefreshTimer() { mRefresh->stop(); }

void ScheduleWindow::closeEvent(QCloseEvent *event)
{
    stopRefreshTimer();
    QMainWindow::closeEvent(event);
}

QString ScheduleWindow::selectedIdentity() const
{
    const auto rows = mTable->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : mTable->item(rows.first().row(), TypeColumn)->data(Qt::UserRole).toString();
}

std::optional<TarnixScheduleItem> ScheduleWindow::selectedRecord() const
{
    const QString identity = selectedIdentity();
    return identity.isEmpty() ? std::nullopt : mActions.record(identity);
}

void ScheduleWindow::selectRecord(const QString &identity)
{
    for (int row = 0; row < mTable->rowCount(); ++row)
        if (mTable->item(row, TypeColumn)->data(Qt::UserRole).toString() == identity) {
            mTable->selectRow(row);
            return;
        }
}

void ScheduleWindow::ReloadSchedules()
{
    const QString selected = selectedIdentity();
    mActions.store().ReloadSchedules();
    {
        const QSignalBlocker quiet(mTable);
        showRecords();
        // The same job stays selected, wherever the daemon's rewrite put it.
        selectRecord(selected);
        if (selectedIdentity().isEmpty() && mTable->rowCount() > 0)
            mTable->selectRow(0);
    }
    // The panel shows the file's state, but not over what the user is typing into it.
    const bool typing = mPanel->isAncestorOf(QApplication::focusWidget());
    if (selectedIdentity() != selected)
        mRefusal.clear();
    if (selectedIdentity() != selected || !typing)
        updateUIForSelectedItem();
}

void ScheduleWindow::showRecords()
{
    const QSignalBlocker quiet(mTable);
    const QList<TarnixScheduleItem> &records = mActions.store().configuredSchedules();
    mTable->clearContents();
    mTable->setRowCount(int(records.size()));
    for (int row = 0; row < records.size(); ++row) {
        const TarnixScheduleItem &record = records[row];
        const QStringList texts{
            record.scheduleTypeString(), record.scheduleTimeString(), record.frequencyString(records),
            record.statusString(),       record.destination(),        record.username()};
        for (int column = 0; column < ColumnCount; ++column)
            mTable->setItem(row, column, new QTableWidgetItem(texts[column]));
        mTable->item(row, TypeColumn)->setData(Qt::UserRole, record.identityKey());
    }
}

void ScheduleWindow::updateUIForSelectedItem()
{
    const auto record = selectedRecord();
    if (!record)
        return;
    const bool running = record->status() == TarnixScheduleItem::InProgress;
    showPanel(SchedulePanelRules::panelFor(*record), !running);
    mNote->setText(running ? windowText(SchedulePanelRules::kInProgressNote) : mRefusal);
}

void ScheduleWindow::showPanel(const SchedulePanel &panel, bool editable)
{
    mDailyBox->setChecked(panel.dailyOn);
    mDailyBox->setText(windowText(SchedulePanelRules::dailyTitle(panel.days.count())));
    mImmediateBox->setChecked(panel.immediateOn);
    mDayCells->setState(panel.days);
    mPanelTime->setDateTime(panel.time);
    mPanelCutoff->setDateTime(QDateTime::currentDateTime());
    mPanelEmailBox->setChecked(panel.emailOn);
    mPanelEmails->setText(panel.emails);
    mPanelDesktop->setChecked(panel.desktopNotification);
    mPanelMissed->setChecked(panel.startMissed);
    for (QWidget *control : mPanelControls)
        control->setEnabled(editable);
    mPanelEmails->setEnabled(editable && panel.emailOn);
}

SchedulePanel ScheduleWindow::panelFromControls(bool kindChosen) const
{
    SchedulePanel panel;
    panel.kindChosen = kindChosen;
    panel.dailyOn = mDailyBox->isChecked();
    panel.days = mDayCells->state();
    panel.immediateOn = mImmediateBox->isChecked();
    panel.time = mPanelTime->dateTime();
    panel.emailOn = mPanelEmailBox->isChecked();
    panel.emails = mPanelEmails->text().trimmed();
    panel.desktopNotification = mPanelDesktop->isChecked();
    panel.startMissed = mPanelMissed->isChecked();
    return panel;
}

QString ScheduleWindow::panelUser() const
{
    const auto record = selectedRecord();
    return record ? record->username() : mActions.loginUsername();
}

void ScheduleWindow::updateSchedulerDetails(bool kindChosen)
{
    const SchedulePanel panel = panelFromControls(kindChosen);
    mDailyBox->setText(windowText(SchedulePanelRules::dailyTitle(panel.days.count())));
    const QString user = panelUser();
    if (SchedulePanelRules::removesAllJobs(panel) && !mActions.store().tarnixSchedulerDetailsForUser(user).isEmpty()) {
        const bool remove = mAlerts.confirm(
            windowText(QStringLiteral("No day is chosen. Would you like to delete all the scheduled jobs of %@?"))
                .replace(QStringLiteral("%@"), user));
        if (!remove) {
            updateUIForSelectedItem();
            return;
        }
        showOutcome(mActions.removeJobsOfUser(user));
    } else {
        showOutcome(mActions.savePanel(user, panel));
    }
}

void ScheduleWindow::showOutcome(const ScheduleActionsController::Outcome &outcome)
{
    // The panel shows the file's state again; a refused change is said under
    // it until the next change or another job is selected.
    mRefusal = outcome.saved() ? QString() : windowText(outcome.message);
    ReloadSchedules();
    updateUIForSelectedItem();  // also under the field just typed into
}

void ScheduleWindow::editSchedule()
{
    const auto record = selectedRecord();
    if (!record) {
        if (mTable->rowCount() > 0)
            mAlerts.inform(windowText(QStringLiteral("Select the scheduled job that you wish to edit.")));
        return;
    }
    if (record->status() == TarnixScheduleItem::InProgress) {
        mAlerts.inform(windowText(QStringLiteral("You cannot edit a scheduled job which is currently in progress.")));
        return;
    }
    stopRefreshTimer();
    const QList<TarnixScheduleItem> &all = mActions.store().configuredSchedules();
    const auto sameUser = std::count_if(all.cbegin(), all.cend(), [&record](const TarnixScheduleItem &r) {
        return r.tarnixUserName() == record->tarnixUserName();
    });
    const bool oneOffOfUserWithJobs = record->frequency() == TarnixScheduleItem::Immediate && sameUser >= 2;
    mSheet = new ScheduleEditorSheet(mActions, mAlerts, *record, oneOffOfUserWithJobs, this);
    mSheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(mSheet, &QDialog::finished, this, [this] {
        ReloadSchedules();
        startRefreshTimer();
    });
    mSheet->open();
}

void ScheduleWindow::ImmidiatelyRunSchedule()
{
    const QString identity = selectedIdentity();
    if (identity.isEmpty())
        return;
    const auto answer = mActions.runNow(identity, QDateTime::currentDateTime());
    ReloadSchedules();
    if (!answer.message.isEmpty())
        mAlerts.inform(windowText(answer.message));
}

void ScheduleWindow::stopRunningSchedule()
{
    const auto target = mActions.stopTarget(selectedIdentity());
    if (!target)
        return;
    if (target->status() != TarnixScheduleItem::InProgress) {
        mAlerts.inform(
            windowText(QStringLiteral("Please select the respective scheduled job that is currently in progress "
                                      "to stop the backup operation of the same.")));
        return;
    }
    const AlertRequest question{
        windowText(QStringLiteral("ApplicationName")),
        windowText(QStringLiteral("Are you sure you wish to stop the scheduled backup operation?")),
        windowText(QStringLiteral("Proceed")),
        windowText(QStringLiteral("Cancel")),
        QString(),
        QString()};
    if (mAlerts.confirm(question))
        mActions.store().requestStopOfRunningJob();
}

void ScheduleWindow::deleteSchedule()
{
    const auto record = selectedRecord();
    if (!record) {
        if (mTable->rowCount() > 0)
            mAlerts.inform(windowText(QStringLiteral("Select a scheduled job that you wish to delete.")));
        return;
    }
    if (record->status() == TarnixScheduleItem::InProgress) {
        mAlerts.inform(windowText(QStringLiteral("You cannot delete a scheduled job which is in progress.")));
        return;
    }
    const AlertRequest question{windowText(QStringLiteral("ApplicationName")),
                                windowText(QStringLiteral("Are you sure you wish to delete the Scheduled job?")),
                                windowText(QStringLiteral("No")),
                                windowText(QStringLiteral("Yes")),
                                QString(),
                                QString()};
    if (mAlerts.runModalAlert(question) != 0)
        return;
    const auto outcome = mActions.deleteRecords({record->identityKey()});
    ReloadSchedules();
    if (!outcome.saved())
        mAlerts.inform(windowText(outcome.message));
}
