#include "LocalTreeFixture.h"

#include "client/backup/localtree/LocalTreeModel.h"
#include "common/backupset/LocalTreeExclusions.h"
#include "common/backupset/MonitorExclusionPreferences.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/PathStandardizer.h"
#include "platform/PropertyList.h"

#include <QProcess>
#include <QTest>

TEST(LocalTreeExclusionsTest, DefaultExclusionsNameSystemPlacesOfTheStartupDiskOnly)
{
    const LocalVolumeLayout layout{QStringLiteral("/media/me"), QStringLiteral("/"), QStringLiteral("Disk"),
                                   QStringLiteral("/home/me")};
    const LocalTreeExclusions exclusions(layout,
                                         {QStringLiteral("/home/me/secret"), QStringLiteral("/media/me/USB/x")});
    const struct
    {
        const char *treePath;
        bool hidden;
        bool userExcluded;
    } cases[] = {
        {"/media/me/Disk/bin", true, false},
        {"/media/me/Disk/var", true, false},
        {"/media/me/Disk/proc", true, false},
        {"/media/me/Disk/media/me", true, false},           // the drives folder itself
        {"/media/me/Disk/home", false, false},              // leads to the home folder
        {"/media/me/Disk/home/me/code/bin", false, false},  // a project's bin folder
        {"/media/me/Disk/home/me/etc", false, false},
        {"/media/me/USB/bin", false, false},  // another drive's folder
        {"/media/me/USB/x", false, true},
        {"/media/me/Disk/home/me/Icon\r", true, false},  // the custom-icon file, anywhere
        {"/media/me/USB/Icon\r", true, false},
        {"/media/me/Disk/home/me/secret", false, true},
        {"/media/me/Disk/home/me/secret/inside", false, false},  // shown through its folder's flag
        {"/media/me/Other/home/me/secret", false, false},
    };
    for (const auto &test : cases) {
        EXPECT_EQ(exclusions.isHiddenByDefault(test.treePath), test.hidden) << test.treePath;
        EXPECT_EQ(exclusions.isUserExcluded(test.treePath), test.userExcluded) << test.treePath;
    }
}

class ExclusionsTest : public LocalTreeFixture
{
protected:
    void SetUp() override
    {
        LocalTreeFixture::SetUp();
        writeText(startup() + "/Users/me/Documents/Icon\r", "");
        QDir().mkpath(startup() + "/bin");
        QDir().mkpath(startup() + "/Users/me/code/bin");
        QObject::connect(&mCenter, &DistributedNotificationCenter::notificationReceived, &mCenter,
                         [this](const QString &name, const QString &, const QVariantMap &userInfo) {
                             if (name == QLatin1String("TarnixMonitorPortableAddRemoveFileToExclude"))
                                 mToMonitor.append(userInfo);
                         });
    }

    void TearDown() override
    {
        if (mMonitor.state() != QProcess::NotRunning) {
            mMonitor.kill();
            mMonitor.waitForFinished();
        }
        LocalTreeFixture::TearDown();
    }

    QStringList namesIn(const QString &treePath)
    {
        QStringList names;
        for (const TreeViewNode *child : open(treePath)->children())
            names.append(child->relativePath());
        return names;
    }

    bool shownExcluded(const QString &treePath)
    {
        LocalTreeModel &model = controller().outlineModel();
        return model.data(model.indexForNode(node(treePath)), LocalTreeModel::IsExcludedRole).toBool();
    }

    QString preferencesPath()
    {
        return PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("MonitorPreferencePath")));
    }
    QVariantMap userExclusions()
    {
        return PropertyList::readDictionary(preferencesPath())
            .value("me")
            .toMap()
            .value("User specified Exclusion")
            .toMap();
    }

    // A process that goes by the monitor's program name.
    void startMonitor()
    {
        const QString program = root() + "/bin/" + QLLocalizedString(QStringLiteral("MonitorProcessName"));
        QDir().mkpath(root() + "/bin");
        ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), program));
        mMonitor.start(program, {QStringLiteral("30")});
        ASSERT_TRUE(mMonitor.waitForStarted());
    }

    DistributedNotificationCenter mCenter;
    QList<QVariantMap> mToMonitor;
    QProcess mMonitor;
};

TEST_F(ExclusionsTest, TheListingLeavesOutSystemPlacesAndMarksTheUsersExclusions)
{
    controller().SetUserSpecifiedExclusion({QStringLiteral("/Users/me/Documents")});
    controller().refreshLocalView();
    ASSERT_TRUE(settle());
    EXPECT_EQ(namesIn(tree("/")), QStringList({"opt", "Users"}));
    EXPECT_EQ(namesIn(tree("/Users/me/code")), QStringList{"bin"});
    EXPECT_EQ(namesIn(tree("/Users/me/Documents")), QStringList{"report.txt"});
    EXPECT_TRUE(shownExcluded(tree("/Users/me/Documents")));
    EXPECT_TRUE(shownExcluded(tree("/Users/me/Documents/report.txt")));
    EXPECT_FALSE(shownExcluded(tree("/Users/me/code")));
}

TEST_F(ExclusionsTest, WhileTheMonitorIsAwayTheClientWritesItsPreferences)
{
    QDir().mkpath(QFileInfo(preferencesPath()).path());
    ASSERT_TRUE(PropertyList::write(preferencesPath(),
                                    QVariantMap{{"me", QVariantMap{{"User specified Exclusion", QVariantMap()}}}}));
    ASSERT_TRUE(settle());
    controller().setMonitorProbe([] { return false; });  // other programs on this machine may run one
    controller().excludefilePath(node(tree("/Users/me/Music")));
    EXPECT_EQ(userExclusions(), QVariantMap({{"/Users/me/Music", 1}}));
    EXPECT_TRUE(shownExcluded(tree("/Users/me/Music")));
    EXPECT_EQ(controller().excludeMenuTitle(node(tree("/Users/me/Music"))), "Remove this folder from exclude");

    controller().excludefilePath(node(tree("/Users/me/Music")));
    EXPECT_EQ(userExclusions(), QVariantMap({{"/Users/me/Music", 0}}));
    EXPECT_EQ(controller().excludeMenuTitle(node(tree("/Users/me/Music"))), "Exclude this folder from backup");
    QTest::qWait(50);
    EXPECT_TRUE(mToMonitor.isEmpty());
}

TEST_F(ExclusionsTest, AnExclusionMadeBeforeTheMonitorEverSavedIsKept)
{
    // The backup reads this file: an exclusion dropped here would be backed up after all.
    QDir().mkpath(QFileInfo(preferencesPath()).path());
    ASSERT_TRUE(PropertyList::write(preferencesPath(), QVariantMap{{"ShowHiddenFilesKey ", true}}));
    ASSERT_TRUE(settle());
    controller().setMonitorProbe([] { return false; });
    controller().excludefilePath(node(tree("/Users/me/Music")));
    EXPECT_EQ(userExclusions(), QVariantMap({{"/Users/me/Music", 1}}));
    EXPECT_EQ(PropertyList::readDictionary(preferencesPath()).value("ShowHiddenFilesKey "), true);
}

TEST_F(ExclusionsTest, WhileTheMonitorRunsTheExclusionIsSentToIt)
{
    startMonitor();
    ASSERT_TRUE(settle());
    controller().excludefilePath(node(tree("/Users/me/Music")));
    ASSERT_TRUE(waitFor([&] { return mToMonitor.size() == 1; }));
    EXPECT_EQ(mToMonitor.front(), QVariantMap({{"add", "/Users/me/Music"}}));
    EXPECT_FALSE(QFile::exists(preferencesPath()));
}

TEST_F(ExclusionsTest, ExclusionsMadeInTheMonitorShowInTheTree)
{
    ASSERT_TRUE(settle());
    open(tree("/Users/me/Documents"));
    mCenter.postNotificationName(QStringLiteral("TarnixPortableAddRemoveFileToExclude"), QStringLiteral("Add"),
                                 {{"add", QStringList{"/Users/me/Documents", "/Users/me/Elsewhere"}}});
    ASSERT_TRUE(waitFor([&] { return shownExcluded(tree("/Users/me/Documents/report.txt")); }));
    EXPECT_EQ(controller().userSpecifiedExclusion(), QStringList({"/Users/me/Documents", "/Users/me/Elsewhere"}));

    mCenter.postNotificationName(QStringLiteral("TarnixPortableAddRemoveFileToExclude"), QStringLiteral("Remove"),
                                 {{"Remove", "/Users/me/Documents"}});
    ASSERT_TRUE(waitFor([&] { return !shownExcluded(tree("/Users/me/Documents")); }));
    EXPECT_EQ(controller().userSpecifiedExclusion(), QStringList{"/Users/me/Elsewhere"});
}
