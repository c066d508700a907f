// Renders the monitor's schedule window of the running brand to PNG files in a
// folder, for a person to look at: the list with its inline panel, the panel of
// a running job, and the edit sheet in each frequency. scripts/screenshots runs
// it once per brand under Xvfb, inside a sandbox, on schedules of its own.
// Usage: txscheduleshots <folder>
#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"
#include "desktop/alerts/AlertPresenter.h"
#include "monitor/schedules/TarnixSchedulerController.h"
#include "monitor/views/schedules/ScheduleEditorSheet.h"
#include "monitor/views/schedules/ScheduleWindow.h"
#include "platform/PathStandardizer.h"
#include "platform/PropertyList.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>
#include <QToolBar>

namespace {

void settleShots()
{
    QEventLoop loop;
    QTimer::singleShot(150, &loop, &QEventLoop::quit);
    loop.exec();
}

bool saveShot(const QString &folder, const QString &name, const QPixmap &picture)
{
    const QString path = folder + '/' + name + QStringLiteral(".png");
    if (picture.save(path))
        return true;
    QTextStream(stderr) << "could not write " << path << '\n';
    return false;
}

// Nothing is asked in a picture.
class NoAlerts : public AlertPresenter
{
public:
    int runModalAlert(const AlertRequest &) override { return -1; }
    void showAlert(const AlertRequest &) override {}
};

TarnixScheduleItem job(const QString &user, int frequency, const QDateTime &time, const QVariantList &days = {})
{
    TarnixScheduleItem item;
    item.setUsername(user);
    item.setTarnixUserName(user);
    item.setFrequency(frequency);
    item.setScheduleTime(time);
    item.setSelectedDaysForSchedule(days);
    item.setDestination(QStringLiteral("MyTarnix"));
    return item;
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramContext program;
    const QString folder = app.arguments().value(1, QStringLiteral("."));
    QDir().mkpath(folder);

    const QString login =
        PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("LastUserLoginDetailsFilePath")));
    QDir().mkpath(QFileInfo(login).absolutePath());
    PropertyList::write(login, QVariantMap{{QStringLiteral("Username"), QStringLiteral("ann")},
                                           {QStringLiteral("TarnixUsername"), QStringLiteral("ann")}});
    TarnixSchedulerController store;
    const QDateTime morning(QDate::currentDate().addDays(1), QTime(9, 30));
    const QList<TarnixScheduleItem> jobs{
        job(QStringLiteral("ann"), TarnixScheduleItem::Daily, morning),
        job(QStringLiteral("bob"), TarnixScheduleItem::SelectedDays, morning.addSecs(3600), {1, 3, 5}),
        job(QStringLiteral("cleo"), TarnixScheduleItem::Monthly, morning.addDays(10)),
        job(QStringLiteral("dan"), TarnixScheduleItem::Hourly, morning.addSecs(-1800)),
        job(QStringLiteral("eve"), TarnixScheduleItem::Immediate, QDateTime::currentDateTime().addSecs(45)),
    };
    for (const TarnixScheduleItem &item : jobs)
        if (!store.tarnixaddSchedulerDetails(item).saved())
            return 1;

    NoAlerts alerts;
    ScheduleWindow window(store, alerts);
    window.showSchedulerMainWindow();
    settleShots();
    bool ok = saveShot(folder, QStringLiteral("schedule-window"), window.grab());

    const QStringList names{QStringLiteral("daily"), QStringLiteral("selected-days"), QStringLiteral("monthly"),
                            QStringLiteral("hourly"), QStringLiteral("immediate")};
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        window.selectRecord(jobs[i].identityKey());
        settleShots();
        ok = saveShot(folder, QStringLiteral("schedule-panel-") + names[i], window.centralWidget()->grab()) && ok;
        window.toolbar()->findChild<QAction *>(QStringLiteral("EditItem"))->trigger();
        settleShots();
        if (ScheduleEditorSheet *sheet = window.editorSheet()) {
            ok = saveShot(folder, QStringLiteral("schedule-editor-") + names[i], sheet->grab()) && ok;
            sheet->reject();
            settleShots();
        } else {
            ok = false;
        }
    }

    // A running job: the panel takes no input and says why.
    // The status is the daemon's: it is set in the file, as the daemon sets it.
    auto contents = ScheduleArchive::read(store.paths().archive);
    if (contents) {
        contents->records[0].setStatus(TarnixScheduleItem::InProgress);
        ScheduleArchive::write(store.paths().archive, *contents);
    }
    window.ReloadSchedules();
    window.selectRecord(jobs[0].identityKey());
    settleShots();
    ok = saveShot(folder, QStringLiteral("schedule-panel-in-progress"), window.grab()) && ok;
    return ok ? 0 : 1;
}
