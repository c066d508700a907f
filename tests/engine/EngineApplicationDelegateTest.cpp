#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"
#include "engine/command/TXEngineApplicationDelegate.h"
#include "support/FakeApplicationDelegate.h"
#include "support/SandboxFixture.h"

#include "common/account/User.h"
#include "common/files/TXSupportFileManager.h"
#include "engine/command/TXEngineController.h"

namespace {

// The main controller as the engine layer sees it.
class FakeEngineApplicationDelegate : public FakeApplicationDelegateOf<TXEngineApplicationDelegate>
{
public:
    RuvoDeleteController *deleteController() override { return nullptr; }
    TarnixDBManager *dbManager() override { return nullptr; }
};

// An engine controller that records what it was given.
class RecordingEngineController : public TXEngineController
{
public:
    User &userInfo() override { return account; }
    void setProxyObjectWithSettingsFile(const QString &path) override { proxySettingsFile = path; }
    void setExecutorPath(const QString &path) override { executorPath = path; }

    User account;
    QString proxySettingsFile;
    QString executorPath;
};

class EngineApplicationDelegateTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        TXSupportFileManager::txFileManager().setTarnixUserName("ann");
        TXEngineApplicationDelegate::setCurrent(&mainController);
        User &account = mainController.account;
        account.setUserName("ann");
        account.setPassword("pw");
        account.setRuvoServerIP("10.0.0.1");
        account.setMEncodedKey("enckey");
        account.setISDefaultKey(true);
        account.setMSyncUserName("ann_sync");
        account.setPort("--port=1");  // stale: the port is read afresh
    }
    void TearDown() override { SandboxFixture::TearDown(); }

    FakeEngineApplicationDelegate mainController;
};

TEST_F(EngineApplicationDelegateTest, AStorageServerAccountGetsItsProxyFileAndEngine)
{
    mainController.account.setRuvoUser(true);
    RecordingEngineController controller;
    controller.account.setISDefaultKey(false);

    ASSERT_EQ(TXEngineApplicationDelegate::current(), &mainController);
    TXEngineApplicationDelegate::current()->setUserAndProxyToObject(controller);

    EXPECT_EQ(controller.account.UserName(), "ann");
    EXPECT_EQ(controller.account.mEncodedKey(), "enckey");
    EXPECT_EQ(controller.account.mSyncUserName(), "ann_sync");
    EXPECT_EQ(controller.account.Port(), "--port=443");  // no port file now
    // The version list decides from the copy whether to pass the private key.
    EXPECT_TRUE(controller.account.isDefaultKey());
    EXPECT_EQ(controller.proxySettingsFile,
              TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ProxySetting));
    EXPECT_FALSE(controller.proxySettingsFile.isEmpty());
    EXPECT_EQ(controller.executorPath, QLLocalizedString("ExecuterPathRuvo"));
}

TEST_F(EngineApplicationDelegateTest, AnyOtherAccountKeepsItsProxyAndGetsThePlainEngine)
{
    mainController.account.setRuvoUser(false);
    RecordingEngineController controller;
    mainController.setUserAndProxyToObject(controller);
    EXPECT_EQ(controller.account.UserName(), "ann");
    EXPECT_TRUE(controller.proxySettingsFile.isNull());
    EXPECT_EQ(controller.executorPath, QLLocalizedString("ExecuterPath"));
}

TEST_F(EngineApplicationDelegateTest, AnotherKindOfDelegateIsNotTheEngineDelegate)
{
    ProgramContext program;
    FakeApplicationDelegate plain;
    QLApplicationDelegate::setCurrent(&plain);
    EXPECT_EQ(QLApplicationDelegate::current(), &plain);
    EXPECT_EQ(TXEngineApplicationDelegate::current(), nullptr);
}

}  // namespace
