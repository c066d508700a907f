#include "common/files/TXSupportFileManager.h"
#include "common/login/UserFiles.h"
#include "common/proxy/ProxySettingFile.h"
#include "monitor/prefs/ContinuousProtection.h"
#include "monitor/prefs/MonitorProxySettings.h"
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

namespace {

TEST_F(SwitchesAndPagesTest, TheProxyAuthenticationChoiceSurvivesARestart)
{
    const QString settings = root() + "/setting.plist";
    {
        MonitorProxySettings proxy(settings);
        proxy.loadProxySettings();
        ProxyData fields;
        fields.setIpaddress("proxy.example.net");
        fields.setPort("3128");
        fields.setUserName("alice");
        fields.setPassword("pw&=");
        proxy.setFields(fields);
        EXPECT_TRUE(proxy.EnableProxy(MonitorProxySettings::TypedIn));
        proxy.EnableProxyAuth(true);
    }
    MonitorProxySettings restarted(settings);
    restarted.loadProxySettings();
    EXPECT_TRUE(restarted.authEnabled());
    EXPECT_EQ(restarted.fields().password(), "pw&=");
    ASSERT_EQ(restarted.SaveSetting(), ProxySettingFile::kSaveWritten) << "the save made at start keeps the choice";
    const QVariantMap saved = ProxySettingFile::read(settings).value_or(QVariantMap());
    EXPECT_EQ(ProxySettingFile::number(saved, ProxySettingKey::AuthEnable), 1);
    EXPECT_EQ(saved.value(ProxySettingKey::UserName), "alice");

    // No proxy empties every field and keeps the file's two states only.
    restarted.EnableProxy(MonitorProxySettings::NoProxy);
    EXPECT_FALSE(restarted.authEnabled());
    EXPECT_TRUE(restarted.fields().ipaddress().isEmpty());
    EXPECT_EQ(ProxySettingFile::read(settings).value_or(QVariantMap()).keys(),
              (QStringList{"ProxyAuthEnable", "ProxyEnable"}));
}

}  // namespace
