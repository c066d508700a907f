// Renders the monitor's tray menu, tray images and windows of the running brand to PNG
// files in a folder, for a person to look at; scripts/screenshots runs it once per brand
// under Xvfb inside a sandbox. Usage: txmonitorshots <folder>
#include "common/logging/OnlineLogController.h"
#include "common/texts/QLLocalizedString.h"
#include "desktop/logs/SessionLogXmlFile.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "monitor/context/MonitorContext.h"
#include "monitor/views/LogFileWindow.h"
#include "monitor/views/MonitorArtwork.h"
#include "monitor/views/MonitorProgram.h"
#include "monitor/views/StatusItem.h"
#include "monitor/views/TrayHelpBalloon.h"
#include "monitor/views/drawing/ProgressView.h"
#include "monitor/views/sessionlogs/SessionLogListWindow.h"
#include "platform/PathStandardizer.h"
#include "platform/PathTemplate.h"
#include "platform/PropertyList.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

void settle(int milliseconds = 150)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(const QString &folder, const QString &name, const QPixmap &picture)
{
    const QString path = folder + '/' + name + QStringLiteral(".png");
    if (picture.save(path)) {
        std::printf("%s\n", qPrintable(path));
        return true;
    }
    std::fprintf(stderr, "txmonitorshots: cannot save %s\n", qPrintable(path));
    return false;
}

QString key(const char *name) { return PathStandardizer::standardizePath(QLLocalizedString(QString::fromUtf8(name))); }

void writePlist(const QString &path, const QVariant &value)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    PropertyList::write(path, value);
}

void writeText(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
}

// The demo account after a login in the client, a few of the daemon's logs, the install marker.
void writeDemoAccount()
{
    writePlist(key("LastUserLoginDetailsFilePath"), QVariantMap{{"TarnixUsername", "demo"}, {"Username", "demo"}});
    writePlist(QDir::cleanPath(PathTemplate::fillTemplate(QLLocalizedString("UserDetailsPath"), {"demo"})),
               QVariantMap{{"TOTALQUOTASIZE", 51200.0}, {"USEDQUOTASIZE", 19456.0}});
    writeText(QDir::cleanPath(PathTemplate::fillTemplate(QLLocalizedString("PlanFilePath"), {"demo"})), "Personal");
    const QString logs = key("SessionLogsFolderPath");
    writeText(logs + "/Backup 12-09-2026-22-00-05",
              "Scheduled backup completed.\n1284 files considered, 84 backed up.\n");
    writeText(logs + "/Backup 12-10-2026-22-00", "Scheduled backup completed.\n");
    writeText(logs + "/Backup 12-11-2026-09-30-12", "Scheduled backup failed: the backup drive is not attached.\n");
    // Earlier nights, enough for the list to scroll; each also a record of the log viewer's day files.
    const SessionLogsFolder folder = SessionLogsFolder::fromApplicationFiles();
    for (int night = 1; night <= 14; ++night) {
        const QDateTime when = QDateTime(QDate::currentDate().addDays(-night), QTime(22, 0, 5));
        const QString log = logs + "/Backup " + when.toString("MM-dd-yyyy-HH-mm-ss");
        writeText(log, "Scheduled backup completed.\n");
        OnlineLogController::SharedOnlineLogController().setOperationStatus(night == 3 ? "Failure" : "Success");
        SessionLogXmlFile day(
            folder, [] { return QStringLiteral("demo"); }, [when] { return when; });
        day.sendSessionLogInformationWithOperation("Scheduled Backup", 1280 + night, 1200, log,
                                                   "00:03:1" + QString::number(night % 10));
    }
    writeText(key("TrayHelpMarkerFilePath"), "");
}

// The tray item's images side by side on a light and a dark bar, as a tray shows them.
QPixmap trayImages()
{
    const QStringList names = {QLLocalizedString("ApplicationIcon"), QLLocalizedString("ApplicationAlternateIcon"),
                               QStringLiteral("TarnixUpgradeMenuIcon"), QStringLiteral("TarnixPauseMenuIcon")};
    QPixmap bar(QSize(44 * names.size(), 64));
    bar.fill(Qt::white);
    QPainter painter(&bar);
    painter.fillRect(QRect(0, 32, bar.width(), 32), QColor(0x30, 0x30, 0x30));
    for (int i = 0; i < names.size(); ++i) {
        const QPixmap image = MonitorArtwork::image(names[i]);
        painter.drawPixmap(QRect(11 + 44 * i, 5, 22, 22), image);
        painter.drawPixmap(QRect(11 + 44 * i, 37, 22, 22), image);
    }
    return bar;
}

QVariantMap backupNotice(const QString &logPath)
{
    return {{"Username", "demo"},
            {"SuccessCount", "84"},
            {"SyncFileCount", "1200"},
            {"FailureCount", "3"},
            {"TotalCount", "1287"},
            {"UsedQuota", "19 GB"},
            {"TotalQuota", "50 GB"},
            {"PercentageQuota", "38"},
            {"AccountType", "Personal"},
            {"SessionLogPath", logPath},
            {"NextScheduledItem", "Sat Dec 12 2026 10:00:00 PM"}};
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: txmonitorshots <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    MonitorContext monitor;
    writeDemoAccount();
    MonitorProgram program(monitor, [](const QString &) { return false; });
    program.start();
    settle();
    bool saved = true;

    saved &= save(folder, QStringLiteral("monitor-1-tray-images"), trayImages());
    ProgressView bar;
    bar.resize(115, 12);
    bar.setProgressValue(45);
    saved &= save(folder, QStringLiteral("monitor-11-quota-bar-45"), bar.grab());
    if (TrayHelpBalloon *balloon = program.windows().trayHelp())
        saved &= save(folder, QStringLiteral("monitor-2-tray-help"), balloon->grab());

    StatusItem &item = program.windows().statusItem();
    item.menu().popup(QPoint(1200, 30));
    settle();
    saved &= save(folder, QStringLiteral("monitor-3-status-menu"), item.menu().grab());
    item.schedulerMenu().popup(QPoint(1200, 120));
    settle();
    saved &= save(folder, QStringLiteral("monitor-4-scheduler-menu"), item.schedulerMenu().grab());
    item.schedulerMenu().hide();
    item.menu().hide();

    program.controller().showStatusWindow();
    settle();
    saved &= save(folder, QStringLiteral("monitor-5-status-window"), program.notificationWindow().grab());

    const QString log = key("SessionLogsFolderPath") + "/Backup 12-09-2026-22-00-05";
    program.controller().handleIPCMessage({backupNotice(log), QStringLiteral("1"), QString(), QString()});
    settle();
    saved &= save(folder, QStringLiteral("monitor-6-notification"), program.notificationWindow().grab());

    QVariantMap failed = backupNotice(log);
    failed.insert("ErrorMessage", "The scheduled backup failed: the backup drive is not attached.\n\n"
                                  "Attach the drive and start the backup again from the status menu.");
    failed.insert("PercentageQuota", "100");
    program.controller().handleIPCMessage({failed, QStringLiteral("1"), QString(), QString()});
    settle();
    saved &= save(folder, QStringLiteral("monitor-7-notification-error"), program.notificationWindow().grab());
    program.notificationWindow().hide();

    program.controller().viewLog();
    settle();
    saved &= save(folder, QStringLiteral("monitor-8-session-log-list"), program.windows().sessionLogList().grab());
    program.windows().sessionLogList().openSelectedSessionLogs();
    settle();
    saved &= save(folder, QStringLiteral("monitor-9-log-file"), program.windows().logFileWindow().grab());

    program.controller().viewSessionLog();
    settle(1500);
    if (QWidget *viewer = program.windows().sessionLogWindow())
        saved &= save(folder, QStringLiteral("monitor-10-session-log-viewer"), viewer->grab());
    return saved ? 0 : 1;
}
