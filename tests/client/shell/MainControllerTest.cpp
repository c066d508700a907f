#include "LoginFixture.h"

#include "common/files/TXSupportFileManager.h"
#include "common/login/UserFiles.h"
#include "common/texts/QLLocalizedString.h"
#include "engine/command/TXEngineController.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <thread>

namespace {

class MainControllerTest : public LoginFixture
{
protected:
    QString destinationFile() const
    {
        return TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::DestinationDrivePath);
    }
    QString makeVolume(const QString &name) const
    {
        QDir().mkpath(volumes() + '/' + name);
        return volumes() + '/' + name;
    }
};

// An engine controller's own account record, as the main controller fills it.
struct RecordingController : TXEngineController
{
    User account;
    QString executor;
    User &userInfo() override { return account; }
    void setProxyObjectWithSettingsFile(const QString &) override {}
    void setExecutorPath(const QString &path) override { executor = path; }
};

TEST_F(MainControllerTest, OnlyAnExactZeroInTheModeFileMeansSyncMode)
{
    const struct
    {
        const char *content;  // nullptr: no mode file
        bool backupMode;
    } cases[] = {{nullptr, true}, {"0", false}, {"1", true}, {"", true}, {"garbage", true}, {"0\n", false}};
    for (const auto &c : cases) {
        const QString modeFile = UserFiles::path("BackupModePath", "plain");
        QFile::remove(modeFile);
        if (c.content)
            writeText(modeFile, c.content);
        chooseDrive("plain");
        startClient();
        ASSERT_TRUE(logIn("plain", "plain password"));
        ASSERT_TRUE(mainView->enabled) << loginView->errorHtml.toStdString();
        EXPECT_EQ(controller->isAppInBackupMode(), c.backupMode) << (c.content ? c.content : "(none)");
        EXPECT_EQ(mainView->backupMode, c.backupMode);
        // No index worker in sync mode until a sync account is confirmed ("plain" has none).
        EXPECT_TRUE(waitUntil([&] { return indexWorkersAlive == (c.backupMode ? 1 : 0); }));
        if (!c.content) {
            EXPECT_EQ(readText(modeFile), "1");
        }
    }
}

TEST_F(MainControllerTest, DestinationChangeAsksRefusesAndReplacesTheIndexWorker)
{
    const QString first = makeVolume("First");
    const QString second = makeVolume("Second");
    startClient();
    ASSERT_TRUE(logIn("plain", "plain password"));
    EXPECT_TRUE(mainView->destination.isEmpty());  // the client runs from no volume: none chosen
    EXPECT_EQ(indexWorkersAlive, 0);               // and without a drive there is no index

    controller->destinationDriveDidChange(first);
    EXPECT_EQ(readText(destinationFile()), first.toUtf8());
    EXPECT_EQ(controller->currentDestinationDrive(), "First");
    EXPECT_TRUE(mainView->alerts.isEmpty());
    ASSERT_TRUE(waitUntil([&] { return indexWorkersAlive == 1; }));

    // Backups on the old drive: the question, and "No" keeps the old drive everywhere.
    writeText(first + "/TarnixVidezud/plain/Computer/a", "x");
    writeText(first + "/TarnixVidezud/plain/.index/b", "x");
    mainView->answers = {1};
    controller->destinationDriveDidChange(second);
    ASSERT_EQ(mainView->alerts.size(), 1);
    EXPECT_TRUE(mainView->alerts[0].message.startsWith(
        "Do you want to change the local backup volume from 'First' to 'Second' ?"));
    EXPECT_EQ(readText(destinationFile()), first.toUtf8());
    EXPECT_EQ(mainView->destination, first);
    EXPECT_EQ(controller->currentDestinationDrive(), "First");

    // While an operation runs the drive stays.
    controller->setOperationActive(true);
    controller->destinationDriveDidChange(second);
    EXPECT_EQ(mainView->alerts.size(), 2);
    EXPECT_EQ(controller->currentDestinationDrive(), "First");
    controller->setOperationActive(false);

    // The unmounting of the current drive changes nothing.
    controller->destinationDriveDidChange(second, first);
    EXPECT_EQ(mainView->alerts.size(), 2);

    mainView->answers = {0};
    controller->destinationDriveDidChange(second);
    EXPECT_EQ(readText(destinationFile()), second.toUtf8());
    EXPECT_EQ(controller->currentDestinationDrive(), "Second");
    EXPECT_TRUE(waitUntil([&] { return indexWorkersAlive == 1; }));

    // The next login takes the stored drive.
    startClient();
    ASSERT_TRUE(waitUntil([&] { return mainView->enabled; }));
    EXPECT_EQ(mainView->destination, second);
}

TEST_F(MainControllerTest, MonitorMessagesAreHandledOnTheMainThread)
{
    startClient();
    std::thread listener([this] { controller->didReceiveIPCMessage({"1", "8", "monitor", "client"}); });
    listener.join();
    EXPECT_TRUE(mainView->browseState.isNull());  // not on the listener's thread
    ASSERT_TRUE(waitUntil([&] { return !mainView->browseState.isNull(); }));
    EXPECT_EQ(mainView->browseState, "1");
    EXPECT_EQ(mainView->browseStateThread, QThread::currentThread());

    mainView->browseState.clear();
    controller->didReceiveIPCMessage({"", "7", "monitor", "client"});  // unknown type: ignored
    QCoreApplication::processEvents();
    EXPECT_TRUE(mainView->browseState.isEmpty());
}

TEST_F(MainControllerTest, EngineControllersGetTheCurrentAccountOnly)
{
    startClient();
    ASSERT_TRUE(logIn("plain", "plain password"));
    RecordingController held;
    held.account.setMSyncUserName("demo.sync");
    held.account.setMSyncEncodedPwd("TXE1:old");
    controller->fillEngineController(held);
    EXPECT_EQ(held.account.UserName(), "plain");
    EXPECT_TRUE(held.account.mSyncUserName().isEmpty());
    EXPECT_TRUE(held.account.mSyncEncodedPwd().isEmpty());
    EXPECT_EQ(held.executor, QLLocalizedString("ExecuterPathRuvo"));
}

TEST_F(MainControllerTest, QuitAsksWhileAnOperationRuns)
{
    startClient();
    int stops = 0;
    QObject::connect(controller.get(), &TXMainController::stopAllOperations, [&stops] { ++stops; });
    EXPECT_TRUE(controller->windowShouldClose());  // nothing runs: no question
    EXPECT_TRUE(mainView->alerts.isEmpty());
    controller->setOperationActive(true);
    mainView->answers = {1, 0};
    EXPECT_FALSE(controller->windowShouldClose());  // "No"
    EXPECT_EQ(stops, 1);
    EXPECT_TRUE(controller->windowShouldClose());  // "Yes" stops everything
    EXPECT_EQ(stops, 2);
    EXPECT_EQ(mainView->alerts.size(), 2);
}

TEST_F(MainControllerTest, FinishedOperationsAreRecordedInTheDayFile)
{
    startClient();
    ASSERT_TRUE(logIn("plain", "plain password"));
    controller->sendSessionLogInformation("Backup", 3, 0, QString(), "00:00:05");
    const QByteArray day = readText(controller->sessionLogXmlFile().logXmlFilePath());
    EXPECT_TRUE(day.contains("</records>")) << day.toStdString();
    EXPECT_TRUE(day.contains("00:00:05")) << day.toStdString();
}

TEST_F(MainControllerTest, FirstStartCreatesTheDesktopEntryOnce)
{
    const QString entry = QLLocalizedString("ShortcutPath");
    startClient();
    EXPECT_TRUE(readText(entry).startsWith("[Desktop Entry]\nType=Application\nName=Tarnix Rizered\nExec=\""));
    EXPECT_TRUE(QFileInfo::exists(QLLocalizedString("ShortcutPreferencePath")));
    writeText(entry, "edited by the user");
    startClient();
    EXPECT_EQ(readText(entry), "edited by the user");
}

TEST_F(MainControllerTest, InstallationVolumeIsTheDriveTheClientRunsFrom)
{
    const QByteArray savedBin = qgetenv("TX_BIN_DIR");
    EXPECT_TRUE(TXMainController::getInstallationVolume().isEmpty());  // no drive at all
    QFile::link("/", volumes() + "/Startup");
    EXPECT_EQ(TXMainController::getInstallationVolume(), volumes() + "/Startup");  // the start-up volume
    makeVolume("Portable");
    // The only drive besides the start-up volume, though the build folder is on none.
    EXPECT_EQ(TXMainController::getInstallationVolume(), volumes() + "/Portable");
    // Of several drives, the one the client runs from.
    makeVolume("Camera");
    EXPECT_EQ(TXMainController::getInstallationVolume(), volumes() + "/Startup");
    QDir().mkpath(volumes() + "/Portable/TarnixVidezud/bin");
    qputenv("TX_BIN_DIR", (volumes() + "/Portable/TarnixVidezud/bin").toUtf8());
    EXPECT_EQ(TXMainController::getInstallationVolume(), volumes() + "/Portable");
    qputenv("TX_BIN_DIR", savedBin);
    // Else the one that holds this brand's backups.
    QDir().mkpath(volumes() + "/Camera/TarnixVidezud");
    QDir(volumes() + "/Portable/TarnixVidezud").removeRecursively();
    EXPECT_EQ(TXMainController::getInstallationVolume(), volumes() + "/Camera");
}

TEST_F(MainControllerTest, AFirstLoginTakesTheOnlyDriveAttached)
{
    const QString drive = makeVolume("BackupDrive");
    startClient();
    ASSERT_TRUE(logIn("plain", "plain password"));
    EXPECT_EQ(mainView->destination, drive);
    EXPECT_EQ(controller->currentDestinationDrive(), "BackupDrive");
    EXPECT_EQ(readText(destinationFile()), drive.toUtf8());
}

TEST_F(MainControllerTest, APlanlessAccountWritesAnEmptyPlan)
{
    startClient();
    ASSERT_TRUE(logIn("plain", "plain password"));
    EXPECT_TRUE(QFileInfo::exists(UserFiles::path("PlanFilePath", "plain")));
    EXPECT_EQ(readText(UserFiles::path("PlanFilePath", "plain")), "");
}

}  // namespace
