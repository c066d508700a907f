// txdaemon: the stand-in backup daemon of one user. See README.md next to this file.
//
//   txdaemon [--poll-ms N] [--missed-after-seconds N]

#include "daemon/BackupDaemon.h"

#include "common/context/ProgramContext.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/messaging/MessageSendingModule.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "platform/SidecarLock.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t gStopSignal = 0;

void askToStop(int) { gStopSignal = 1; }

QString loginName()
{
    const QString name = qEnvironmentVariable("USER");
    return name.isEmpty() ? QDir::home().dirName() : name;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs the scheduled backups of this user."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("poll-ms"), QStringLiteral("Milliseconds between two scans."), QStringLiteral("number"),
         QStringLiteral("5000")},
        {QStringLiteral("missed-after-seconds"), QStringLiteral("A job further behind than this was missed."),
         QStringLiteral("number"), QStringLiteral("120")},
    });
    parser.process(app);
    ProgramContext program;

    // One daemon per user: a second one finds the lock taken and ends.
    const QString archive = QLLocalizedString(QStringLiteral("SchedulerSettingsFile"));
    QString error;
    const auto single = SidecarLock::tryAcquire(archive + QStringLiteral(".daemon"), &error);
    if (!single) {
        std::fprintf(stderr, "txdaemon: another daemon runs for this user (%s)\n", qPrintable(error));
        return 1;
    }

    BackupDaemon::Timings timings;
    timings.poll = std::chrono::milliseconds(std::max(10, parser.value(QStringLiteral("poll-ms")).toInt()));
    timings.missedAfter =
        std::chrono::seconds(std::max(0, parser.value(QStringLiteral("missed-after-seconds")).toInt()));

    const QString machine = QLUtility::machineID();
    MessageSendingModule messenger;
    messenger.setupConnection(QStringLiteral("TarnixVidezudDaemon%1%2").arg(machine, loginName()),
                              MessageSendingModule::monitorName(machine, loginName()));

    BackupDaemon daemon(
        timings, [] { return QDateTime::currentDateTime(); }, &messenger);
    QObject::connect(&daemon, &BackupDaemon::stopped, &app, &QCoreApplication::quit);

    // A signal only sets a flag; the event loop turns it into an orderly stop (a running job ends as cancelled).
    std::signal(SIGTERM, askToStop);
    std::signal(SIGINT, askToStop);
    QTimer signalWatch;
    QObject::connect(&signalWatch, &QTimer::timeout, [&] {
        if (gStopSignal) {
            signalWatch.stop();
            daemon.stop();
        }
    });
    signalWatch.start(100);

    daemon.start();
    std::printf("txdaemon running\n");
    std::fflush(stdout);
    const int status = app.exec();
    QLBackupProgressLogger::progressLogger().flushAll();
    return status;
}
