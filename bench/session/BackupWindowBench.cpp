// One tree backed up with the stand-in engine twice over, alternately: by the
// Backup tab's session driver alone (the session-only run), and by clicking
// Backup Now on the Backup page on the offscreen platform, with the progress
// pane forward, the session log and the tab's end (the window run). Prints
// the medians of both and their ratio: the window must add under 10%. Also
// prints how often the progress pane was redrawn per second.
//
// TX_BENCH_BACKUP_FILES (default 3000) and TX_BENCH_ROUNDS (default 9) change the size.

#include "client/backup/now/BackupViewController.h"
#include "client/backup/now/BackupViewMainController.h"
#include "client/backup/views/BackupPageView.h"
#include "client/common/progress/ProgressView.h"
#include "client/common/views/ProgressPaneView.h"
#include "common/account/User.h"
#include "common/context/ProgramContext.h"
#include "common/files/TXSupportFileManager.h"
#include "common/texts/QLLocalizedString.h"
#include "desktop/alerts/AlertPresenter.h"
#include "platform/PropertyList.h"
#include "session/manager/RuvoBackupManager.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

#include "EventLoopWait.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString kUser = QStringLiteral("bench");
const QString kDrive = QStringLiteral("BenchDrive");

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

int setting(const char *name, int fallback)
{
    return qEnvironmentVariableIsSet(name) ? qEnvironmentVariableIntValue(name) : fallback;
}

// Files of 2 KB, 100 to a folder.
QString makeTree(int files)
{
    const QString tree = scratch().path() + "/tree";
    const QByteArray content(2048, 'x');
    for (int i = 0; i < files; ++i) {
        const QString folder = QStringLiteral("%1/d%2").arg(tree).arg(i / 100);
        if (i % 100 == 0)
            QDir().mkpath(folder);
        QFile file(QStringLiteral("%1/f%2.txt").arg(folder).arg(i));
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }
    return tree;
}

QString volumePath() { return scratch().path() + "/roots/TX_VOLUMES_ROOT/" + kDrive; }
QString dataRoot() { return volumePath() + "/TarnixVidezud/" + kUser + "/Bench"; }

// The product's session, but with the engine's output looked at every 50 ms
// and no settling pauses, so that waiting does not hide the work.
SessionTimings sessionTimings()
{
    SessionTimings timings;
    timings.firstLaunchSettle = std::chrono::milliseconds(0);
    timings.endWait = std::chrono::milliseconds(0);
    timings.engine.poll = std::chrono::milliseconds(50);
    timings.engine.finishGrace = std::chrono::milliseconds(10);
    timings.engine.finishNotice = std::chrono::milliseconds(10);
    return timings;
}

User account()
{
    User user;
    user.setUserName(kUser);
    user.setRuvoServerIP(QStringLiteral("127.0.0.1"));
    user.setMEncodedKey(QStringLiteral("TXE1:key"));
    user.setMEncodedPassword(QStringLiteral("TXE1:pw"));
    return user;
}

// --- The session-only run ---

class SessionEnd : public RuvoBackupRestoreHandlerProtocol
{
public:
    void operationDidFinishSuccessfully(SessionDriver *) override { end = QStringLiteral("success"); }
    void operationDidFailWithError(const QString &message, SessionDriver *) override { end = message; }
    void operationDidFailWithOverQuota(const QString &message) override { end = message; }
    void operationDidCancel(SessionDriver *) override { end = QStringLiteral("cancel"); }
    QString end;
};

// What Backup Now hands the driver, without the tab.
double sessionOnlyRun(const QString &tree)
{
    SessionEnd events;
    SessionDriver::Setup setup;
    setup.applicationSupportFolder =
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::UserFolder);
    setup.destinationPath = QStringLiteral("/Bench");
    const std::unique_ptr<SessionDriver> made = RuvoBackupManager::factory(sessionTimings())(setup, events);
    SessionDriver &driver = *made;
    QElapsedTimer clock;
    clock.start();
    driver.setuserInfo(account());
    driver.setDestinationPath(dataRoot());
    driver.shouldBackupVersions(false);
    driver.setFileFolderSetForOperation({tree});
    driver.setMBackupMode(true);
    driver.setExecutorPath(QLLocalizedString(QStringLiteral("ExecuterPathRuvo")));
    driver.startBackup();
    waitUntil([&] { return !events.end.isEmpty(); });
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (events.end != QLatin1String("success"))
        std::fprintf(stderr, "session-only run ended: %s\n", qPrintable(events.end));
    return seconds;
}

// --- The window run ---

class BenchMainController : public BackupViewMainController
{
public:
    BenchMainController()
        : mAccount(account())
    {}
    bool isReIndexInProgress() const override { return false; }
    QString currentDestinationDrive() const override { return kDrive; }
    QString mpcName() const override { return QStringLiteral("/Bench"); }
    bool isAppInBackupMode() const override { return true; }
    const User &userObject() override { return mAccount; }
    QVariantMap getPreferencesSettingForUser(const QString &) const override { return {}; }
    void setOperationActive(bool) override {}
    BackedUpFileQueue *backedUpFileQueue() override { return nullptr; }
    void sendSessionLogInformation(const SessionLogReport &report) override { lastReport = report.operation; }
    void displayLogView() override {}
    void upgrade() override {}
    void setBackupMiniProgressHidden(bool) override {}
    void setBackupMiniPercentage(const QString &) override {}
    void setDisplayRefreshGuide(bool) override {}
    void calQuota() override {}
    QString lastReport;

private:
    User mAccount;
};

// "Yes" to the drive question, "OK" (not "View Log") at the end.
class BenchAlerts : public AlertPresenter
{
public:
    int runModalAlert(const AlertRequest &alert) override
    {
        ++shown;
        return alert.defaultButton == QLatin1String("View Log") ? 0 : kAnswerDefault;
    }
    void showAlert(const AlertRequest &) override { ++shown; }
    int shown = 0;
};

// The page's progress pane, counting its redraws.
class CountedPane : public ProgressView
{
public:
    explicit CountedPane(ProgressView &pane)
        : mPane(pane)
    {}
    void showProgressState(const ProgressPaneState &state) override
    {
        ++redraws;
        mPane.showProgressState(state);
    }
    int redraws = 0;

private:
    ProgressView &mPane;
};

struct WindowRun
{
    double seconds = 0;
    double redrawsPerSecond = 0;
};

WindowRun windowRun(const QString &setFile)
{
    BenchMainController main;
    BenchAlerts alerts;
    BackupViewController controller(main, alerts, RuvoBackupManager::factory(sessionTimings()));
    BackupPageView page(controller);
    page.resize(900, 600);
    page.show();
    controller.BackupSetSavedAtPath(setFile);
    controller.showProgressView();
    CountedPane counted(*page.progressPane());
    controller.progressViewController().setView(&counted);
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    page.backupButton()->click();
    waitUntil([&] { return !main.lastReport.isEmpty(); });
    WindowRun run;
    run.seconds = clock.nsecsElapsed() / 1e9;
    run.redrawsPerSecond = counted.redraws / run.seconds;
    controller.progressViewController().setView(nullptr);
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void forgetStoredFiles() { QDir(volumePath() + "/TarnixVidezud").removeRecursively(); }

}  // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Every file the program writes stays in the scratch folder.
    for (const char *root : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR",
                             "TX_SUPPORT_ROOT", "TX_VOLUMES_ROOT"}) {
        const QString folder = scratch().path() + "/roots/" + root;
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(root, folder.toUtf8());
    }
    qputenv("TX_RESOURCES", TX_RESOURCES_PATH);
    QApplication app(argc, argv);
    ProgramContext context;

    const int files = setting("TX_BENCH_BACKUP_FILES", 3000);
    const int rounds = setting("TX_BENCH_ROUNDS", 9);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("making %d files of 2 KB...\n", files);
    const QString tree = makeTree(files);
    TXSupportFileManager &fileTable = TXSupportFileManager::txFileManager();
    fileTable.setTarnixUserName(kUser);
    QDir().mkpath(volumePath());
    QFile choice(fileTable.pathForApplicationFile(ApplicationFile::DestinationDrivePath));
    QDir().mkpath(QFileInfo(choice).absolutePath());
    choice.open(QIODevice::WriteOnly);
    choice.write(volumePath().toUtf8());
    choice.close();
    const QString setFile = scratch().path() + "/BackupSet.plist";
    PropertyList::write(setFile, QVariant(QStringList{tree}));

    // Rounds of one run each, which goes first alternating, each onto an empty
    // drive, so that both meet the same load.
    std::vector<double> session, window, redraws;
    for (int round = 0; round < rounds; ++round) {
        for (const bool runWindow : {round % 2 == 1, round % 2 == 0}) {
            forgetStoredFiles();
            if (!runWindow) {
                session.push_back(sessionOnlyRun(tree));
                continue;
            }
            const WindowRun run = windowRun(setFile);
            window.push_back(run.seconds);
            redraws.push_back(run.redrawsPerSecond);
        }
        std::printf("round %d: session only %.2f s, window %.2f s (%.1f pane redraws/s)\n", round + 1, session.back(),
                    window.back(), redraws.back());
    }
    const bool stored = QFile::exists(dataRoot() + tree + "/d0/f0.txt");
    std::printf("\n%d files, %d rounds: median session only %.2f s, median window %.2f s, ratio window/session %.3f; "
                "median pane redraws %.1f/s; last backup on the drive: %s\n",
                files, rounds, median(session), median(window), median(window) / median(session), median(redraws),
                stored ? "yes" : "NO");
    return 0;
}
