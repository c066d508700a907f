#include "LoginFixture.h"

#include "common/categories/QuellonExtension.h"
#include "common/files/TXSupportFileManager.h"
#include "common/login/StoredLoginDetails.h"
#include "common/login/UserFiles.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>

namespace SLD = StoredLoginDetails;

namespace {

class StoredLoginTest : public LoginFixture
{};

TEST_F(StoredLoginTest, RememberMeDecidesTheAutomaticLogin)
{
    startClient();
    int firstLogins = 0;
    QObject::connect(controller.get(), &TXMainController::userLoggedInForFirstTime, [&] { ++firstLogins; });
    ASSERT_TRUE(logIn("demo", "demo password"));
    ASSERT_TRUE(mainView->enabled);
    EXPECT_EQ(firstLogins, 1);
    controller->loginViewController().DisconnectAccount();
    ASSERT_TRUE(logIn("demo", "demo password"));
    EXPECT_EQ(firstLogins, 1);  // the user's details exist now

    startClient();  // the next start logs in by itself
    EXPECT_TRUE(controller->loginViewController().isAutoLogin());
    EXPECT_EQ(mainView->loginTitle, "Connecting demo");
    ASSERT_TRUE(waitUntil([&] { return mainView->enabled; }));

    loginView->remember = false;
    controller->loginViewController().rememberMe();
    const QString lastUser = pathOf(ApplicationFile::LastUserLoginDetailsFilePath);
    EXPECT_EQ(PropertyList::readDictionary(lastUser).value(SLD::kRememberDetails).toInt(), 0);
    EXPECT_EQ(PropertyList::readDictionary(pathOf(ApplicationFile::LoginDetailsFilePath))
                  .value(SLD::kRememberDetails)
                  .toInt(),
              1);  // the per-user plist is not touched

    startClient();  // an empty form, never a login by itself
    EXPECT_FALSE(controller->loginViewController().isAutoLogin());
    EXPECT_EQ(mainView->loginTitle, "Login to your account ");
    EXPECT_TRUE(loginView->user.isEmpty());
    EXPECT_TRUE(loginView->floatingVisible);
    EXPECT_FALSE(controller->loginViewController().isFirstTimeLogin());

    // A login with remember-me off keeps that choice.
    loginView->remember = false;
    ASSERT_TRUE(logIn("demo", "demo password"));
    EXPECT_EQ(PropertyList::readDictionary(lastUser).value(SLD::kRememberDetails).toInt(), 0);
}

TEST_F(StoredLoginTest, AStoredUsernameWithoutItsTarnixKeyStillLogsIn)
{
    const QString lastUser = QLLocalizedString("LastUserLoginDetailsFilePath");
    QDir().mkpath(QFileInfo(lastUser).absolutePath());
    ASSERT_TRUE(
        PropertyList::write(lastUser, QVariantMap{{"Username", "demo"},
                                                  {"Password", quellonExtension::encryptedString("demo password")},
                                                  {"RememberDetails", 1}}));
    startClient();
    ASSERT_TRUE(waitUntil([&] { return mainView->enabled; })) << loginView->errorHtml.toStdString();
    EXPECT_EQ(controller->userObject().UserName(), "demo");
}

TEST_F(StoredLoginTest, ACorruptStoredPlistGivesAnEmptyForm)
{
    // Cut short, and nested 60,000 levels deep behind comments (which once took the start down).
    const QByteArray hiddenNesting = "<plist>" + QByteArray("<array><!--</array-->").repeated(60000) +
                                     QByteArray("</array>").repeated(60000) + "</plist>";
    for (const QByteArray &content : {QByteArray("<plist><dict><key>Userna"), hiddenNesting}) {
        writeText(QLLocalizedString("LastUserLoginDetailsFilePath"), content);
        startClient();
        EXPECT_FALSE(controller->loginViewController().isAutoLogin());
        EXPECT_TRUE(loginView->floatingVisible);
        EXPECT_TRUE(loginView->user.isEmpty());
    }
}

TEST_F(StoredLoginTest, ASecondUserStartsFromACleanAccount)
{
    chooseDrive("demo");
    startClient();
    ASSERT_TRUE(logIn("demo", "demo password"));
    ASSERT_TRUE(waitUntil([&] { return !controller->userObject().mSyncRuvoServerIP().isEmpty(); }));
    EXPECT_EQ(controller->userObject().mSyncUserName(), "demo.sync");

    controller->loginViewController().DisconnectAccount();
    EXPECT_FALSE(mainView->enabled);
    EXPECT_EQ(readText(UserFiles::path("DisconnectMarkerPath", "demo")), "1");
    EXPECT_EQ(loginView->user, "demo");  // remembered: the form is filled again

    chooseDrive("private", "Other");
    quotaAnswer = QVariantMap{{"usedquota", "0"}, {"totalquota", "0"}};
    ASSERT_TRUE(logIn("private", "private password"));
    loginView->acceptance = "my-private-key";
    controller->loginViewController().privatekeyAcceptanceValidation();
    ASSERT_TRUE(waitUntil([&] { return mainView->enabled; }));
    EXPECT_EQ(mainView->quota, -1);  // a total of 0 shows no figure

    const User &account = controller->userObject();
    EXPECT_EQ(account.UserName(), "private");
    EXPECT_TRUE(account.mSyncUserName().isEmpty());
    EXPECT_TRUE(account.mSyncEncodedPwd().isEmpty());
    EXPECT_TRUE(account.mSyncRuvoServerIP().isEmpty());

    const QVariantMap lastUser = PropertyList::readDictionary(pathOf(ApplicationFile::LastUserLoginDetailsFilePath));
    EXPECT_EQ(lastUser.value(SLD::kTarnixUsername).toString(), "private");
    EXPECT_FALSE(lastUser.contains(SLD::kEmailID));  // a key of the first login does not survive
    EXPECT_TRUE(QFileInfo::exists(UserFiles::path("LoginDetailsFilePath", "demo")));
    EXPECT_TRUE(QFileInfo::exists(UserFiles::path("LoginDetailsFilePath", "private")));
    EXPECT_TRUE(waitUntil([&] { return indexWorkersAlive == 1; }));  // the first user's index worker ended
}

TEST_F(StoredLoginTest, AnEmailAddressLeadsToItsAccounts)
{
    QJsonObject config = accounts();
    QJsonArray list = config.value("accounts").toArray();
    list.append(QJsonObject{{"username", "demo2"}, {"password", "demo password"}, {"email", "DEMO@example.com"}});
    list.append(QJsonObject{{"username", "demo3"}, {"password", "x"}, {"email", "demo@example.com"}, {"accstat", "C"}});
    config.insert("accounts", list);
    service->writeConfig(config);
    startClient();
    ASSERT_TRUE(logIn("demo@example.com", "demo password"));
    EXPECT_EQ(loginView->emailChoices, (QStringList{"demo", "demo2"}));
    EXPECT_TRUE(loginView->errorHtml.contains("multiple accounts"));

    controller->loginViewController().onEmailBoxClick("demo2");
    ASSERT_TRUE(waitUntil([&] { return mainView->enabled; }));
    EXPECT_EQ(controller->userObject().UserName(), "demo2");
}

TEST_F(StoredLoginTest, SeveralAccountsDuringAnAutomaticLoginTryTheAddressItself)
{
    QJsonObject config = accounts();
    QJsonArray list = config.value("accounts").toArray();
    list.append(QJsonObject{{"username", "demo2"}, {"password", "demo password"}, {"email", "demo@example.com"}});
    config.insert("accounts", list);
    service->writeConfig(config);
    const QString lastUser = QLLocalizedString("LastUserLoginDetailsFilePath");
    QDir().mkpath(QFileInfo(lastUser).absolutePath());
    ASSERT_TRUE(PropertyList::write(lastUser,
                                    QVariantMap{{"TarnixUsername", "demo@example.com"},
                                                {"TarnixPassword", quellonExtension::encryptedString("demo password")},
                                                {"RememberDetails", 1}}));
    startClient();
    ASSERT_TRUE(waitUntil([&] { return !loginView->errorHtml.isEmpty(); }));
    EXPECT_TRUE(loginView->emailChoices.isEmpty());  // no choice is offered during an automatic login
    bool triedTheAddress = false;
    for (const QJsonObject &request : service->requests())
        triedTheAddress |= request.value("path").toString() == "/cgi-bin/get_tarnix_ruvo_details_xml_ip.cgi" &&
                           request.value("fields").toObject().value("username").toString() == "demo@example.com";
    EXPECT_TRUE(triedTheAddress);
    EXPECT_FALSE(controller->loginViewController().isAutoLogin());
}

}  // namespace
