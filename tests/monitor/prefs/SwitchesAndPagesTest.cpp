#include "common/files/TXSupportFileManager.h"
#include "common/login/UserFiles.h"
#include "monitor/prefs/ContinuousProtection.h"
#include "monitor/web/AccountPages.h"
#include "monitor/web/VersionCheck.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class SwitchesAndPagesTest : public SandboxFixture
{
protected:
    static void writePlist(const QString &path, const QVariantMap &values)
    {
        QDir().mkpath(QFileInfo(path).path());
        ASSERT_TRUE(PropertyList::write(path, values));
    }

    static void settle()
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 150)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
};

TEST_F(SwitchesAndPagesTest, ContinuousProtectionBelongsToItsUserAndASwitchPostsOnce)
{
    DistributedNotificationCenter center;
    DistributedNotificationCenter listener;
    int posted = 0;
    QObject::connect(&listener, &DistributedNotificationCenter::notificationReceived,
                     [&posted](const QString &name) { posted += name == "CDPStateModified"; });
    ContinuousProtection cdp(center);
    const QString plist = UserFiles::path("CDPFilePath", "alice");
    writePlist(plist, {{"Enabled", "1"}, {"Frequency", "1"}, {"Username", "bob"}});
    EXPECT_FALSE(cdp.checkCDP("alice")) << "a plist naming another user is off";

    ASSERT_TRUE(cdp.setEnabled("alice", true));
    EXPECT_EQ(PropertyList::readDictionary(plist),
              (QVariantMap{{"Enabled", "1"}, {"Frequency", "1"}, {"Username", "alice"}}));
    EXPECT_TRUE(cdp.checkCDP("alice"));
    settle();
    EXPECT_EQ(posted, 1);
    EXPECT_FALSE(cdp.setEnabled("", true)) << "nobody logged in: nothing written";
}

TEST_F(SwitchesAndPagesTest, ADisconnectedUserNotRememberedGetsThePublicPageWithoutARequest)
{
    TXSupportFileManager &files = TXSupportFileManager::txFileManager();
    writePlist(files.pathForApplicationFile(ApplicationFile::LastUserLoginDetailsFilePath),
               {{"TarnixUsername", "alice"}, {"RememberDetails", 0}});
    writeText(UserFiles::path("DisconnectMarkerPath", "alice"), "");
    QList<QUrl> opened;
    AccountPages pages([&opened](const QUrl &url) { opened << url; });
    pages.open(AccountPages::Page::Upgrade);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].path(), "/index.html");
    pages.open(AccountPages::Page::ChangePassword);
    EXPECT_EQ(opened[1].path(), "/");

    writePlist(files.pathForApplicationFile(ApplicationFile::LastUserLoginDetailsFilePath),
               {{"TarnixUsername", "alice"}, {"RememberDetails", 1}});
    EXPECT_TRUE(AccountPages::shouldShowWebFiles());
    EXPECT_EQ(AccountPages::opType(AccountPages::Page::ChangePassword), "pwd_chng");
}

TEST(VersionCheckAnswers, FirstCharacterOfTheReply)
{
    EXPECT_EQ(VersionCheck::answerOf("Y 2.0"), VersionCheck::Answer::NewerVersion);
    EXPECT_EQ(VersionCheck::answerOf("N\n"), VersionCheck::Answer::Latest);
    EXPECT_EQ(VersionCheck::answerOf(""), VersionCheck::Answer::Unknown);
    EXPECT_EQ(VersionCheck::answerOf("<html>"), VersionCheck::Answer::Unknown);
    EXPECT_EQ(VersionCheck::checkURL().scheme(), "https");
}

}  // namespace
