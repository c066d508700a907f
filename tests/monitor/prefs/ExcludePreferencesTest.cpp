#include "monitor/prefs/ExcludePreferences.h"
#include "common/backupset/MonitorExclusionPreferences.h"
#include "monitor/prefs/GeneralPreferences.h"
#include "monitor/prefs/MonitorPreferenceFile.h"
#include "platform/DistributedNotificationCenter.h"
#include "session/filtering/ExclusionFilter.h"
#include "support/SandboxFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

namespace Keys = MonitorExclusionPreferences;

struct Posted
{
    QString name;
    QString object;
    QVariantMap userInfo;
};

class ExcludePreferencesTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        QObject::connect(
            &listener, &DistributedNotificationCenter::notificationReceived,
            [this](const QString &name, const QString &object, const QVariantMap &userInfo) {
                // Test programs running beside this one share the session bus.
                const bool ours =
                    QJsonDocument(QJsonObject::fromVariantMap(userInfo)).toJson().contains(root().toUtf8());
                if (ours && (name == Keys::kExclusionFromMonitor || name == Keys::kTimeMachineFromMonitor))
                    posted.push_back({name, object, userInfo});
            });
        exclude.setUserName("demo");
    }

    // Lets the session bus deliver what was posted.
    void settle()
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 150)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    QVariantMap user() { return MonitorPreferenceFile::userPreferences("demo"); }

    DistributedNotificationCenter center;
    DistributedNotificationCenter listener;
    ExcludePreferences exclude{center, LocalVolumeLayout::current()};
    std::vector<Posted> posted;
};

TEST_F(ExcludePreferencesTest, NewUserIsSeededAndTheClientsKeysSurviveEverySave)
{
    // Keys the client wrote into the same user dictionary before the monitor ran.
    MonitorPreferenceFile::updateUser("demo", [](QVariantMap &user) {
        user.insert(Keys::kPromptRestoreDestinationPanel, true);
        user.insert("ArchiveCleanupDays", 30);
        user.insert(Keys::kUserSpecifiedExclusion, QVariantMap{{"/home/me/Cache", 1}});
    });
    exclude.loadExcludeSet();

    const QStringList defaults = ExcludePreferences::defaultExcludeFiles();
    EXPECT_EQ(defaults.size(), 26) << "the 23 places and Linux's /proc, /sys and /run";
    const QVariantMap stored = user();
    EXPECT_EQ(stored.value(Keys::kDefaultExclusion).toMap().size(), defaults.size());
    EXPECT_EQ(stored.value(Keys::kDefaultExclusion).toMap().value("/usr").toInt(), 1);
    EXPECT_EQ(stored.value(Keys::kPartialFileExclusion).toMap(), (QVariantMap{{"/TarnixVidezud", 1}}));
    EXPECT_EQ(stored.value(Keys::kUserSpecifiedExclusion).toMap(), (QVariantMap{{"/home/me/Cache", 1}}));
    EXPECT_TRUE(stored.value(Keys::kPromptRestoreDestinationPanel).toBool());
    EXPECT_EQ(stored.value("ArchiveCleanupDays").toInt(), 30);
    EXPECT_TRUE(MonitorPreferenceFile::read().value(Keys::kEnableExcludeHiddenFilesKey).toBool());
    EXPECT_EQ(exclude.rows().size(), size_t(defaults.size() + 1));

    // Default rows can be neither removed nor unchecked.
    const auto usr = std::find_if(exclude.rows().begin(), exclude.rows().end(),
                                  [](const SourceListNode &row) { return row.name == "/usr"; });
    const int usrRow = int(usr - exclude.rows().begin());
    EXPECT_FALSE(exclude.canRemove(usrRow));
    exclude.toggleCheckBoxState(usrRow);
    exclude.removeFilesFromExclusionList(usrRow);
    EXPECT_EQ(exclude.rows()[size_t(usrRow)].state, 1);
    EXPECT_FALSE(exclude.canRemovePartial(0)) << "the partial default stays";
}

TEST_F(ExcludePreferencesTest, UserRowsPostBothFormsAndALetterCaseTwinReChecksTheRow)
{
    exclude.loadExcludeSet();
    QDir().mkpath(home() + "/Work");
    exclude.addFilesToExclusionList({home() + "/Work"});
    const QString stored =
        LocalVolumeLayout::current().storedForm(LocalVolumeLayout::current().treePathOfDiskPath(home() + "/Work"));
    const auto rowOf = [this](const QString &name) {
        for (size_t i = 0; i < exclude.rows().size(); ++i)
            if (exclude.rows()[i].name == name)
                return int(i);
        return -1;
    };
    const int row = rowOf(stored);
    ASSERT_GE(row, 0);
    EXPECT_FALSE(exclude.rows()[size_t(row)].isAFile);

    exclude.toggleCheckBoxState(row);
    EXPECT_EQ(exclude.rows()[size_t(row)].state, 0);
    const size_t count = exclude.rows().size();
    exclude.addFilesToExclusionList({home() + "/WORK"});
    EXPECT_EQ(exclude.rows().size(), count) << "a letter-case twin is the same row";
    EXPECT_EQ(exclude.rows()[size_t(rowOf(stored))].state, 1);
    settle();
    ASSERT_EQ(posted.size(), 3u);
    EXPECT_EQ(posted[0].object, "add");
    EXPECT_EQ(posted[0].userInfo.value("add").toStringList(), QStringList{stored});
    EXPECT_EQ(posted[1].object, "Remove");
    EXPECT_EQ(posted[1].userInfo, (QVariantMap{{"Remove", stored}}));
    EXPECT_EQ(user().value(Keys::kUserSpecifiedExclusion).toMap().value(stored).toInt(), 1);

    // The client's notifications change the list and post nothing back.
    posted.clear();
    exclude.addRemoveFileToExclude({{"add", "/home/other"}});
    EXPECT_EQ(exclude.rows().back().name, "/home/other") << "added at the end, unsorted";
    exclude.addRemoveFileToExclude({{"remove", stored}});
    EXPECT_EQ(rowOf(stored), -1);
    settle();
    EXPECT_TRUE(posted.empty());
    EXPECT_FALSE(user().value(Keys::kUserSpecifiedExclusion).toMap().contains(stored));
}

TEST_F(ExcludePreferencesTest, PartialNewItemBlocksAnotherUntilNamedAndTheFilterReadsTheResult)
{
    exclude.loadExcludeSet();
    const int row = exclude.addPartialPathToExclusionList();
    ASSERT_EQ(row, 1);
    EXPECT_FALSE(exclude.canAddPartial());
    EXPECT_EQ(exclude.addPartialPathToExclusionList(), -1);
    exclude.setPartialName(row, "   ");
    EXPECT_EQ(exclude.partialRows()[1].name, "New Item") << "a blank name is refused";
    exclude.setPartialName(row, "*.tmp");
    EXPECT_TRUE(exclude.canAddPartial());

    const ExclusionFilter::Settings settings = ExclusionFilter::read("demo");
    EXPECT_EQ(settings.partial.value("*.tmp").toInt(), 1);
    EXPECT_EQ(settings.defaults.value("/proc").toInt(), 1);
    EXPECT_TRUE(settings.excludeHidden);

    ExcludePreferences nobody(center, LocalVolumeLayout::current());
    nobody.loadExcludeSet();
    EXPECT_FALSE(MonitorPreferenceFile::read().contains(QString())) << "no user name: nothing is written";
}

TEST(GeneralPreferencesRules, FolderNameFromTheComputersName)
{
    const struct
    {
        QString computer;
        QString folder;
    } cases[] = {
        {QStringLiteral("Jane\u2019s MacBook Pro (2)"), "JanesMacBookPro"},
        {"-Studio-", "Studio"},
        {"Office Mac (2)", "OfficeMac"},
        {"(&)", ""},
        {"$%^", ""},
        {"büro_1.local", "büro_1.local"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(GeneralPreferences::getRemoteFolderName(c.computer), c.folder) << c.computer.toStdString();
}

TEST_F(ExcludePreferencesTest, GeneralSavesForEveryAccountAndTellsTheClientBeforeSaving)
{
    QStringList sent;
    GeneralPreferences general(center, [&sent](const QString &payload, int type) {
        sent << QStringLiteral("%1:%2:%3")
                    .arg(type)
                    .arg(payload)
                    .arg(MonitorPreferenceFile::userPreferences("demo")
                             .value(Keys::kPromptRestoreDestinationPanel)
                             .toBool());
    });
    MonitorPreferenceFile::updateUser("demo", [](QVariantMap &user) { user.insert("ArchiveCleanupDays", 7); });
    general.setUser("demo", false);
    general.loadPrefrences();
    EXPECT_TRUE(general.showHiddenFiles()) << "no key: shown";
    EXPECT_TRUE(MonitorPreferenceFile::read().value(Keys::kShowHiddenFilesKey).toBool());

    general.selectRestoreDestinationPath(true);
    EXPECT_EQ(sent, QStringList{"8:1:0"}) << "the message goes before the file changes";
    general.setEnableVersion(true);
    const QVariantMap stored = MonitorPreferenceFile::userPreferences("demo");
    EXPECT_TRUE(stored.value(Keys::kPromptRestoreDestinationPanel).toBool()) << "saved for an account of any kind";
    EXPECT_TRUE(stored.value(Keys::kEnableVersion).toBool());
    EXPECT_EQ(stored.value("ArchiveCleanupDays").toInt(), 7);
}

TEST_F(ExcludePreferencesTest, TimeMachineRowsFollowTheDrivesAndTellTheClient)
{
    QDir().mkpath(volumes() + "/Archive/Backups.backupdb");
    QDir().mkpath(volumes() + "/Spare/Backups.backupdb");
    GeneralPreferences general(center, {});
    general.setUser("demo", false);
    general.loadPrefrences();
    ASSERT_EQ(general.timeMachineVolumes().size(), 2u);
    EXPECT_EQ(general.timeMachineRowTitle(0), "Time Machine backup");
    EXPECT_EQ(general.timeMachineRowTitle(1), "Time Machine backup - Spare");
    const QString archive = general.timeMachineVolumes()[0].Path;

    general.toggleCheckBoxSate(0);
    general.toggleCheckBoxSate(0);
    settle();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].object, "add");
    EXPECT_EQ(posted[1].userInfo, (QVariantMap{{"Remove", archive}}));
    general.toggleCheckBoxSate(1);
    GeneralPreferences reloaded(center, {});
    reloaded.setUser("demo", false);
    reloaded.loadTimeMachineBackupSet();
    EXPECT_FALSE(reloaded.timeMachineVolumes()[0].checkState);
    EXPECT_TRUE(reloaded.timeMachineVolumes()[1].checkState) << "the list of the current mode holds the checked row";

    // A drive attached while the window is open adds its row.
    QDir().mkpath(volumes() + "/Third/Backups.backupdb");
    QElapsedTimer timer;
    timer.start();
    while (reloaded.timeMachineVolumes().size() < 3 && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(reloaded.timeMachineVolumes().size(), 3u);
}

}  // namespace
