#include "../now/BackupNowFakes.h"

#include "client/backup/setlist/BackupsetViewController.h"
#include "client/backup/setlist/SetListTreeActions.h"
#include "engine/EngineTestSupport.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"

#include <QFile>

namespace {

class RecordingTree : public SetListTreeActions
{
public:
    void removeNodesWithPathArray(const QStringList &paths) override { calls.append("remove " + paths.join(',')); }
    void removeAllNode() override { calls.append("remove all"); }
    void handleTimeMachine() override { calls.append("time machine"); }
    void handleTimeMachinePath(const QString &path) override { calls.append("time machine " + path); }
    QStringList calls;
};

class SetListTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        writeText(home() + "/a.txt", "a");
        writeText(home() + "/Docs/b.txt", "b");
        list.setTree(&tree);
    }

    void save(const QStringList &set, const QVariantMap &sizes)
    {
        ASSERT_TRUE(PropertyList::write(files.setFile, QVariant(set)));
        ASSERT_TRUE(PropertyList::write(files.sizeFile, sizes));
    }

    // Does what changes the rows and waits until the list shows them (they are built on a worker).
    void andShow(const std::function<void()> &change)
    {
        int shown = 0;
        const QMetaObject::Connection counting =
            QObject::connect(&list, &BackupsetViewController::rowsChanged, [&shown] { ++shown; });
        change();
        EXPECT_TRUE(waitUntil([&shown] { return shown > 0; }));
        QObject::disconnect(counting);
    }

    QStringList paths() const
    {
        QStringList all;
        for (const SetListRow &row : list.backupSet())
            all.append(row.path);
        return all;
    }

    BackupsetViewController::Files files{root() + "/set.plist", root() + "/sizes.plist", root() + "/tm.plist"};
    ScriptedAlerts alerts;
    RecordingTree tree;
    BackupsetViewController list{alerts, SetListTimings{std::chrono::hours(1)}};
};

TEST_F(SetListTest, RowsAreTheSizedItemsOfTheSetWithTheirTotal)
{
    save({home() + "/a.txt", home() + "/Docs", home() + "/unsized"},
         {{home() + "/a.txt", "2048"}, {home() + "/Docs", "--"}, {home() + "/removed", "99"}});
    andShow([&] { list.setFiles(files); });
    EXPECT_EQ(paths(), (QStringList{home() + "/a.txt", home() + "/Docs"}));
    EXPECT_EQ(list.backupSet()[0].size, "2.00 KB");
    EXPECT_EQ(list.backupSet()[1].size, "--");
    EXPECT_TRUE(list.backupSet()[1].isFolder);
    EXPECT_FALSE(list.backupSet()[1].modified.isEmpty());
    EXPECT_EQ(list.totalSizeTitle(), "Estimated backup set size: 2.00 KB");
    // The list only reads the size file: the tree's size keeper is its one writer.
    EXPECT_TRUE(PropertyList::readDictionary(files.sizeFile).contains(home() + "/removed"));

    save({home() + "/Docs"}, {{home() + "/Docs", "--"}});
    andShow([&] { list.readBackupSetFromFile(files.setFile); });
    EXPECT_EQ(list.totalSizeTitle(), "");
    save({}, {{home() + "/Docs", "--"}});
    andShow([&] { list.readBackupSetFromFile(files.setFile); });
    EXPECT_TRUE(list.isEmptyHintShown());
    EXPECT_EQ(PropertyList::readDictionary(files.sizeFile), QVariantMap({{home() + "/Docs", "--"}}));
}

TEST_F(SetListTest, ATickRedrawsOnlyWhenTheSizeFileChangedSinceTheLastLook)
{
    save({home() + "/a.txt"}, {{home() + "/a.txt", "10"}});
    andShow([&] { list.setFiles(files); });
    ASSERT_EQ(list.backupSet().size(), 1);
    // The set changes but the size file does not: a tick leaves the rows alone.
    ASSERT_TRUE(PropertyList::write(files.setFile, QVariant(QStringList{})));
    list.UpdateBackupSetSize(true);
    EXPECT_EQ(list.backupSet().size(), 1);
    // Any later change of the size file is seen, however long after.
    QFile sizes(files.sizeFile);
    ASSERT_TRUE(sizes.open(QIODevice::ReadWrite));
    sizes.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
    sizes.close();
    andShow([&] { list.UpdateBackupSetSize(true); });
    EXPECT_TRUE(list.backupSet().isEmpty());
}

TEST_F(SetListTest, RemovingEveryRowClearsTheWholeSetAndTimeMachineFollows)
{
    save({home() + "/a.txt", home() + "/Docs"}, {{home() + "/a.txt", "1"}, {home() + "/Docs", "1"}});
    ASSERT_TRUE(PropertyList::write(files.timeMachineList, QVariant(QStringList{home() + "/Docs"})));
    andShow([&] { list.setFiles(files); });

    alerts.answers = {1};  // "No" is the default button
    list.deleteIndexes({0});
    EXPECT_TRUE(tree.calls.isEmpty());

    alerts.answers = {0};
    list.deleteIndexes({1});
    alerts.answers = {0};
    list.deleteIndexes({0, 1});
    alerts.answers = {1};
    list.deleteAllItems();
    EXPECT_EQ(tree.calls, (QStringList{"remove " + home() + "/Docs", "time machine " + home() + "/Docs", "remove all",
                                       "time machine " + home() + "/Docs", "remove all", "time machine"}));
}

TEST_F(SetListTest, ExclusionsStartAnAbsentMonitorThroughItsCommandFileAndAlwaysNotify)
{
    DistributedNotificationCenter listener;
    ASSERT_TRUE(listener.isConnected());
    QStringList heard;
    QObject::connect(&listener, &DistributedNotificationCenter::notificationReceived, &listener,
                     [&heard](const QString &name, const QString &object, const QVariantMap &) {
                         if (name == "TarnixPortableOpenPreferencesNotification")
                             heard.append(object);
                     });
    bool running = false;
    QStringList launches;
    const QString launchFile = root() + "/monitor/.launch";
    list.setMonitorLink({[&running] { return running; },
                         [&] { launches.append(QString::fromUtf8(readText(launchFile))); }, launchFile});

    // Not running: the word is in the file before the monitor starts, and the notification follows.
    list.ViewExclude();
    EXPECT_EQ(launches, QStringList{"ViewExclude"});
    ASSERT_TRUE(waitUntil([&heard] { return heard.size() == 1; }));
    EXPECT_EQ(heard, QStringList{"ViewExclude"});

    // Running: no file, no start, only the notification.
    QFile::remove(launchFile);
    running = true;
    list.ViewExclude();
    ASSERT_TRUE(waitUntil([&heard] { return heard.size() == 2; }));
    EXPECT_FALSE(QFile::exists(launchFile));
    EXPECT_EQ(launches.size(), 1);
}

}  // namespace
