#include "client/backup/now/BackupNowFakes.h"

#include "client/backup/localtree/FileSystemController.h"
#include "client/backup/now/BackupViewController.h"
#include "common/backupset/MonitorExclusionPreferences.h"
#include "common/files/TXSupportFileManager.h"
#include "common/proxy/ProxySettingFile.h"
#include "desktop/errorreport/views/SendErrorReportController.h"
#include "desktop/kit/views/TXMainTableView.h"
#include "monitor/prefs/MonitorPreferenceFile.h"
#include "monitor/views/ExcludeViewController.h"
#include "monitor/views/GeneralViewController.h"
#include "monitor/views/PreferencesWindowView.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/PropertyList.h"
#include "session/SessionTestSupport.h"
#include "support/SandboxFixture.h"
#include "support/WebServiceStandIn.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

namespace Keys = MonitorExclusionPreferences;

// The preferences window as the tray's menu opens it, for the user "alice".
class PreferencesWindowTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        TXSupportFileManager::txFileManager().setTarnixUserName("alice");
        window = std::make_unique<PreferencesWindowView>(alerts, center, [this](const QString &payload, int type) {
            toClient << QString::number(type) + ":" + payload;
        });
        window->showPreferences("alice", false);
    }

    void TearDown() override
    {
        window.reset();
        SandboxFixture::TearDown();
    }

    GeneralViewController &general() { return *window->generalPane(); }
    ExcludeViewController &exclude() { return *window->excludePane(); }

    static void typeInto(QLineEdit *field, const QString &text)
    {
        field->setText(text);
        emit field->editingFinished();
    }

    ScriptedAlerts alerts;
    DistributedNotificationCenter center;
    QStringList toClient;
    std::unique_ptr<PreferencesWindowView> window;
};

// Backup Now of the client, through the session driver and the stand-in engine.
class ClientBackup
{
public:
    explicit ClientBackup(const QString &setFile)
    {
        main.account.setUserName("alice");
        main.account.setRuvoServerIP("10.0.0.1");
        main.account.setMEncodedKey("TXE1:key");
        main.account.setMEncodedPassword("TXE1:pw");
        main.volumeName = "BackupDrive";
        controller = std::make_unique<BackupViewController>(
            main, alerts, RuvoBackupManager::factory(fastTimings()),
            BackupViewController::Timings{std::chrono::milliseconds(1), {std::chrono::milliseconds(10)}});
        controller->setView(&view);
        controller->BackupSetSavedAtPath(setFile);
    }

    bool run()
    {
        alerts.answers = {1, 0};  // proceed with the drive; "OK" to the log question
        controller->backupNow();
        return controller->isBackupRunning() && waitUntil([this] { return !main.reports.isEmpty(); }, 30000);
    }

    FakeBackupMainController main;
    ScriptedAlerts alerts;
    FakeBackupView view;
    std::unique_ptr<BackupViewController> controller;
};

TEST_F(PreferencesWindowTest, AFolderExcludedAndAProxySavedHereAreWhatTheClientsNextBackupUses)
{
    const QString documents = home() + "/Documents";
    for (int i = 0; i < 4; ++i)
        writeText(QString("%1/folder %2/file %3.txt").arg(documents).arg(i % 2).arg(i), "data");
    const QString volume = volumes() + "/BackupDrive";
    QDir().mkpath(volume);
    writeText(TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::DestinationDrivePath),
              volume.toUtf8());
    ASSERT_TRUE(PropertyList::write(root() + "/BackupSet.plist", QVariant(QStringList{documents})));

    // The client's tree, running beside the monitor.
    FileSystemController tree(LocalVolumeLayout::current(), LocalTreeTimings{});
    tree.setMUserName("alice");

    // The user adds a folder in the Exclude pane and types a proxy into the General pane.
    exclude().setPathChooser([&](QWidget *) { return QStringList{documents + "/folder 1"}; });
    exclude().addButton()->click();
    general().proxyModes()->button(1)->click();
    typeInto(general().proxyAddressField(), "proxy.example.net");
    typeInto(general().proxyPortField(), "3128");
    window->close();

    ASSERT_TRUE(waitUntil([&] { return tree.userSpecifiedExclusion().contains(documents + "/folder 1"); }, 5000))
        << "the client's tree shows the folder excluded";

    const QString argvLog = root() + "/argv.log";
    qputenv("TXRUVO_ARGV_LOG", argvLog.toUtf8());
    ClientBackup backup(root() + "/BackupSet.plist");
    ASSERT_TRUE(backup.run()) << backup.alerts.texts().join('\n').toStdString();
    qunsetenv("TXRUVO_ARGV_LOG");

    const QString dataRoot = volume + "/TarnixVidezud/alice/Studio";
    EXPECT_TRUE(QFileInfo::exists(dataRoot + documents + "/folder 0/file 0.txt"))
        << backup.alerts.texts().join('\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(dataRoot + documents + "/folder 1/file 1.txt")) << "the excluded folder is left out";
    EXPECT_FALSE(QFileInfo::exists(dataRoot + documents + "/folder 1/file 3.txt"));
    const QList<QByteArray> runs = readText(argvLog).split('\n');
    const QJsonArray firstRun = QJsonDocument::fromJson(runs.first()).object().value("argv").toArray();
    EXPECT_TRUE(firstRun.contains(QJsonValue("--proxy=:@proxy.example.net:3128"))) << runs.first().toStdString();
}

TEST_F(PreferencesWindowTest, PanesSaveBesideTheClientsKeysAndTheRestorePromptGoesToTheClientFirst)
{
    MonitorPreferenceFile::updateUser("alice", [](QVariantMap &user) { user.insert("ArchiveCleanupDays", 14); });
    general().restoreDestinationButton()->click();
    EXPECT_EQ(toClient, QStringList{"8:1"});
    exclude().excludeHiddenBox()->click();
    general().showHiddenFilesButton()->click();

    const QVariantMap file = MonitorPreferenceFile::read();
    const QVariantMap user = file.value("alice").toMap();
    EXPECT_TRUE(user.value(Keys::kPromptRestoreDestinationPanel).toBool());
    EXPECT_EQ(user.value("ArchiveCleanupDays").toInt(), 14) << "a key the client wrote is kept";
    EXPECT_FALSE(file.value(Keys::kEnableExcludeHiddenFilesKey).toBool());
    EXPECT_FALSE(file.value(Keys::kShowHiddenFilesKey).toBool());
    EXPECT_EQ(user.value(Keys::kDefaultExclusion).toMap().size(), 26);

    // Default rows offer no remove, by button or by key.
    QTableWidget *table = exclude().exclusionTable();
    table->selectRow(0);
    EXPECT_FALSE(exclude().removeButton()->isEnabled());
    const int rows = table->rowCount();
    QKeyEvent forwardDelete(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(table, &forwardDelete);
    EXPECT_EQ(table->rowCount(), rows);

    // A row of the user's own goes with the delete key.
    exclude().setPathChooser([this](QWidget *) { return QStringList{home() + "/Music"}; });
    exclude().addButton()->click();
    ASSERT_EQ(table->rowCount(), rows + 1);
    table->selectRow(rows);
    EXPECT_TRUE(exclude().removeButton()->isEnabled());
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(table, &backspace);
    EXPECT_EQ(table->rowCount(), rows);
}

TEST_F(PreferencesWindowTest, SwitchingPanesSavesTheProxyAndNoProxyEmptiesEveryField)
{
    const QString settings =
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ProxySetting);
    general().proxyModes()->button(1)->click();
    general().proxyAddressField()->setText("proxy.example.net");
    general().proxyPortField()->setText("8080");
    EXPECT_FALSE(ProxySettingFile::read(settings).value_or(QVariantMap()).contains("ProxyAddress"));
    window->selectPane(1);
    EXPECT_EQ(ProxySettingFile::read(settings).value_or(QVariantMap()).value("ProxyAddress"), "proxy.example.net");

    general().proxyModes()->button(0)->click();
    EXPECT_TRUE(general().proxyAddressField()->text().isEmpty());
    EXPECT_FALSE(general().proxyAuthBox()->isChecked());
    const QVariantMap saved = ProxySettingFile::read(settings).value_or(QVariantMap());
    EXPECT_EQ(ProxySettingFile::number(saved, ProxySettingKey::Enable), 0);
    EXPECT_FALSE(saved.contains("ProxyAddress"));
}

TEST_F(PreferencesWindowTest, LockingLeavesTheProxyChoiceAddressAndPortUsable)
{
    window->selectPane(1);
    window->setLocked(true);
    EXPECT_EQ(window->sidebar()->currentIndex().row(), 0);
    EXPECT_FALSE(window->sidebar()->isEnabled());
    EXPECT_FALSE(window->upgradeButton()->isEnabled());
    EXPECT_FALSE(general().showHiddenFilesButton()->isEnabled());
    EXPECT_FALSE(exclude().addButton()->isEnabled());
    EXPECT_FALSE(general().proxyUserNameField()->isEnabled());
    EXPECT_TRUE(general().proxyModes()->button(2)->isEnabled());
    EXPECT_TRUE(general().proxyAddressField()->isEnabled());
    EXPECT_TRUE(general().proxyPortField()->isEnabled());

    window->setLocked(false);
    EXPECT_TRUE(general().showHiddenFilesButton()->isEnabled());
    EXPECT_TRUE(exclude().addButton()->isEnabled());
    EXPECT_FALSE(general().proxyAddressField()->isEnabled()) << "no proxy chosen: no address";
}

TEST_F(PreferencesWindowTest, TheVersionCheckShowsBothAnswersOfTheService)
{
    auto service = WebServiceStandIn::startForClient(root() + "/webservice", QJsonObject{{"latestVersion", "9.0"}});
    ASSERT_TRUE(service);
    alerts.answers = {0};  // no download
    window->checkForUpdateButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !alerts.shown.isEmpty(); }, 10000));
    EXPECT_EQ(alerts.texts(), QStringList{"Do you want to upgrade to the latest version of Tarnix Rizered?"});

    service->writeConfig(QJsonObject{{"latestVersion", "0.1"}});
    alerts.shown.clear();
    window->checkForUpdateButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !alerts.shown.isEmpty(); }, 10000));
    EXPECT_EQ(alerts.texts(),
              QStringList{"The latest version of Tarnix Rizered is already installed on your computer."});
    const QJsonObject asked = service->requests().last();
    EXPECT_EQ(asked["fields"].toObject()["appln"].toString(), "TarnixVidezudMac");
}

TEST_F(PreferencesWindowTest, TheReportWindowSendsTheMonitorsTraceFormEncoded)
{
    auto service = WebServiceStandIn::startForClient(root() + "/webservice", {});
    ASSERT_TRUE(service);
    TXSupportFileManager &files = TXSupportFileManager::txFileManager();
    ASSERT_TRUE(PropertyList::write(files.pathForApplicationFile(ApplicationFile::LastUserLoginDetailsFilePath),
                                    QVariantMap{{"TarnixUsername", "alice"}}));
    writeText(files.pathForApplicationFile(ApplicationFile::MonitorTraceFilePath), "monitor line a=1&b=2 +50%");

    SendErrorReportController report(alerts);
    report.showErrorReportWindow();
    report.userEmailIdField()->setText("alice@example.org");
    report.messageTextArea()->setPlainText("Preferences do not stick");
    ASSERT_TRUE(report.sendErrorReport());
    const QString content = service->requests().last()["fields"].toObject()["CONTENT"].toString();
    EXPECT_TRUE(content.contains("monitor line a=1&b=2 +50%")) << content.toStdString();
    EXPECT_TRUE(content.contains("Preferences do not stick"));
}

}  // namespace
