#include "LoginFixture.h"

#include "client/shell/login/LoginValidator.h"
#include "common/categories/QuellonExtension.h"
#include "common/files/TXSupportFileManager.h"
#include "common/login/StoredLoginDetails.h"
#include "common/login/UserFiles.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PropertyList.h"

#include <QFile>
#include <QFileInfo>

namespace SLD = StoredLoginDetails;

namespace {

QString userPath(const char *key, const QString &user) { return UserFiles::path(QLatin1String(key), user); }

bool isPrivate(const QString &path)
{
    return QFileInfo(path).permissions() ==
           (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
}

class LoginFlowTest : public LoginFixture
{};

TEST_F(LoginFlowTest, DefaultKeyAccountLogsInAndStoresItsDetailsPrivately)
{
    const QString drive = chooseDrive("demo");
    quotaAnswer = QVariantMap{{"usedquota", "5368709120"}, {"totalquota", "5368709120"}};
    startClient();
    EXPECT_TRUE(loginView->floatingVisible);  // first start: the empty form
    EXPECT_TRUE(loginView->user.isEmpty());
    ASSERT_TRUE(logIn("demo", "demo password"));
    ASSERT_TRUE(mainView->enabled) << loginView->errorHtml.toStdString();
    EXPECT_FALSE(loginView->floatingVisible);
    EXPECT_EQ(mainView->loginTitle, "demo");

    const QVariantMap stored = PropertyList::readDictionary(pathOf(ApplicationFile::LastUserLoginDetailsFilePath));
    EXPECT_EQ(stored.value(SLD::kTarnixUsername).toString(), "demo");
    EXPECT_NE(stored.value(SLD::kPassword).toString(), "demo password");
    EXPECT_EQ(quellonExtension::decryptedString(stored.value(SLD::kTarnixPassword).toString()), "demo password");
    EXPECT_TRUE(stored.value(SLD::kEncodedPassword).toString().startsWith("TXE1:"));
    EXPECT_TRUE(stored.value(SLD::kEncodedKey).toString().startsWith("TXE1:"));
    EXPECT_EQ(stored.value(SLD::kRememberDetails).toInt(), 1);
    EXPECT_EQ(stored.value(SLD::kEmailID).toString(), "demo@example.com");
    EXPECT_EQ(stored.value(SLD::kUserAtServer).toString(), "demo@127.0.0.1::quellon");
    EXPECT_TRUE(isPrivate(pathOf(ApplicationFile::LastUserLoginDetailsFilePath)));
    EXPECT_TRUE(isPrivate(pathOf(ApplicationFile::LoginDetailsFilePath)));
    EXPECT_EQ(PropertyList::readDictionary(pathOf(ApplicationFile::LoginDetailsFilePath)), stored);
    EXPECT_EQ(PropertyList::readDictionary(pathOf(ApplicationFile::DefaultKeyPath)).value("demo").toString(),
              "DEFAULT");
    EXPECT_EQ(readText(userPath("BackupModePath", "demo")), "1");
    EXPECT_EQ(readText(userPath("PlanFilePath", "demo")), "Personal");
    EXPECT_TRUE(QFileInfo::exists(pathOf(ApplicationFile::RuvoUserDetails)));

    const User &account = controller->userObject();
    EXPECT_EQ(account.UserName(), "demo");
    EXPECT_EQ(account.Password(), "demo password");
    EXPECT_TRUE(account.isRuvoUser());
    EXPECT_TRUE(account.isDefaultKey());
    EXPECT_EQ(account.mEncodedPassword(), stored.value(SLD::kEncodedPassword).toString());
    EXPECT_EQ(mainView->destination, drive);
    // The quota of the account: full, so the prompt comes once and "Upgrade" asks for the page.
    ASSERT_TRUE(waitUntil([&] { return mainView->quota == 100; }));
    EXPECT_EQ(quotaMeasurements, 1);
    ASSERT_EQ(mainView->alerts.size(), 1);
    EXPECT_EQ(mainView->alerts[0].defaultButton, "Upgrade");
    controller->calQuota();
    QCoreApplication::processEvents();
    EXPECT_EQ(quotaMeasurements, 2);
    EXPECT_EQ(mainView->alerts.size(), 1);  // once per run
    ASSERT_TRUE(waitUntil([&] { return !mainView->opened.isEmpty(); }));
    EXPECT_EQ(mainView->opened[0].path(), "/tarnix/desktop/Auto");
    EXPECT_EQ(controller->currentBackupPath(), drive + "/TarnixVidezud/demo");
    EXPECT_EQ(indexWorkersAlive, 1);

    // The credentials travel in POST bodies only; the address carries none.
    for (const QJsonObject &request : service->requests()) {
        EXPECT_FALSE(request.value("path").toString().contains("password"))
            << request.value("path").toString().toStdString();
        if (request.value("path").toString().startsWith("/cgi-bin/get_tarnix_ruvo_details_xml_ip.cgi")) {
            EXPECT_EQ(request.value("method").toString(), "POST");
        }
    }

    // The sync account: confirmed by the service, its details stored for the engine.
    const QString syncDetails = userPath("SyncDetailsFilePath", "demo");
    ASSERT_TRUE(waitUntil([&] { return QFileInfo::exists(syncDetails); }));
    const QVariantMap sync = PropertyList::readDictionary(syncDetails);
    EXPECT_EQ(sync.value("syncUserName").toString(), "demo.sync");
    EXPECT_TRUE(sync.value("syncEncodedPassword").toString().startsWith("TXE1:"));
    EXPECT_EQ(sync.value("ruvosrvrip").toString(), "127.0.0.9");
    EXPECT_EQ(sync.value("message").toString(), "SUCCESS");
    EXPECT_TRUE(isPrivate(syncDetails));
    EXPECT_TRUE(mainView->switchVisible);
    EXPECT_EQ(account.mSyncRuvoServerIP(), "127.0.0.9");
}

TEST_F(LoginFlowTest, PrivateKeyAccountAsksForItsKeyOnceThenUsesTheStoredKey)
{
    startClient();
    quotaAnswer = QVariantMap{{"usedquota", "1"}, {"totalquota", "5368709120"}};
    ASSERT_TRUE(logIn("private", "private password"));
    EXPECT_FALSE(mainView->enabled);
    EXPECT_EQ(loginView->page, LoginView::Page::PrivateKey);

    loginView->acceptance = "key";
    controller->loginViewController().privatekeyAcceptanceValidation();
    EXPECT_EQ(loginView->acceptanceError, "Encryption key must contain 4 or more characters");
    EXPECT_FALSE(mainView->enabled);

    loginView->acceptance = "my-private-key";
    controller->loginViewController().privatekeyAcceptanceValidation();
    ASSERT_TRUE(waitUntil([&] { return mainView->enabled; }))
        << loginView->acceptanceError.toStdString() << quotaMeasurements;
    EXPECT_EQ(quotaMeasurements, 1);
    EXPECT_EQ(mainView->quota, 1);  // one byte of 5 GB shows as 1 %
    EXPECT_FALSE(controller->userObject().isDefaultKey());
    EXPECT_EQ(controller->userObject().PrivateKey(), "my-private-key");
    const QString keyFile = pathOf(ApplicationFile::EncKeyPath);
    EXPECT_EQ(quellonExtension::decryptedString(QString::fromUtf8(readText(keyFile))), "my-private-key");
    EXPECT_TRUE(isPrivate(keyFile));
    EXPECT_TRUE(isPrivate(pathOf(ApplicationFile::EncPrefKeyPath)));
    EXPECT_TRUE(isPrivate(pathOf(ApplicationFile::UserDetailsPath)));

    // The key sent for the sync request is the account's: the service accepts it (no sync linked).
    ASSERT_TRUE(waitUntil([&] {
        for (const QJsonObject &request : service->requests())
            if (request.value("path").toString().startsWith("/cgi-bin/get_tarnix_ruvo_details_xml_ip_sync.cgi"))
                return true;
        return false;
    }));

    // The next login of this user finds the stored key and does not ask again.
    controller->loginViewController().DisconnectAccount();
    EXPECT_FALSE(mainView->enabled);
    ASSERT_TRUE(logIn("private", "private password"));
    EXPECT_TRUE(mainView->enabled);
    EXPECT_EQ(loginView->page, LoginView::Page::LoginForm);
}

TEST_F(LoginFlowTest, NewAccountSetsUpItsEncryptionBeforeLoggingIn)
{
    startClient();
    ASSERT_TRUE(logIn("fresh", "fresh password"));
    EXPECT_EQ(loginView->page, LoginView::Page::EncryptionSetup);
    EXPECT_FALSE(mainView->enabled);

    loginView->keyType = LoginView::KeyType::Private;
    loginView->key = "a secret";
    loginView->confirmation = "a secret";
    controller->loginViewController().configureAccount();
    EXPECT_EQ(loginView->setupError, "Spaces are not allowed for private encryption key");

    loginView->key = loginView->confirmation = "asecret";
    controller->loginViewController().configureAccount();
    ASSERT_TRUE(waitUntil([&] { return mainView->enabled; })) << loginView->setupError.toStdString();
    EXPECT_FALSE(controller->userObject().isDefaultKey());
    EXPECT_EQ(controller->userObject().PrivateKey(), "asecret");
    EXPECT_EQ(PropertyList::readDictionary(pathOf(ApplicationFile::DefaultKeyPath)).value("fresh").toString(),
              "PRIVATE");

    // The service now knows the key: a second set-up is refused with the Part's message.
    controller->loginViewController().configureAccount();
    ASSERT_TRUE(waitUntil([&] { return !loginView->setupSpinning; }));
    EXPECT_EQ(loginView->setupError, LoginValidator::kConfigurationFailedMessage);
}

}  // namespace
