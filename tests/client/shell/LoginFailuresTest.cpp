#include "LoginFixture.h"

#include "client/shell/login/LoginValidator.h"
#include "client/shell/login/LoginViewController.h"
#include "common/files/TXSupportFileManager.h"
#include "common/texts/QLLocalizedString.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QString kDetailsPath = QStringLiteral("/cgi-bin/get_tarnix_ruvo_details_xml_ip.cgi");

class LoginFailuresTest : public LoginFixture
{
protected:
    int requestsTo(const QString &path) const
    {
        int count = 0;
        for (const QJsonObject &request : service->requests())
            count += request.value("path").toString() == path;
        return count;
    }
    bool nothingStored() const
    {
        return !QFileInfo::exists(TXSupportFileManager::txFileManager().pathForApplicationFile(
            ApplicationFile::LastUserLoginDetailsFilePath));
    }
};

TEST_F(LoginFailuresTest, EachFailureShowsItsMessageAndStoresNothing)
{
    const auto withAccount = [](QJsonObject account) {
        QJsonObject config = accounts();
        QJsonArray list = config.value("accounts").toArray();
        list.append(account);
        config.insert("accounts", list);
        return config;
    };
    const struct
    {
        const char *user;
        const char *password;
        QJsonObject config;
        QString shown;  // a part of the error text
    } cases[] = {
        {"demo", "wrong", accounts(), "Invalid username or password"},
        {"nobody", "pw", accounts(), "Unable to connect to server as the username"},
        {"gone", "pw", withAccount({{"username", "gone"}, {"password", "pw"}, {"accstat", "C"}}),
         "Reason: Account has been canceled. <a href=\"https://127.0.0.1:"},
        {"old", "pw", withAccount({{"username", "old"}, {"password", "pw"}, {"accstat", "E"}}),
         "Reason: Account has expired."},
        {"busy", "pw", withAccount({{"username", "busy"}, {"password", "pw"}, {"accstat", "M"}}),
         "Your account is under maintenance"},
        {"odd", "pw", withAccount({{"username", "odd"}, {"password", "pw"}, {"acctype", "UNKNOWN"}}),
         "Unable to connect to server as the username"},
        {"win", "pw", withAccount({{"username", "win"}, {"password", "pw"}, {"acctype", "QLWIN"}}),
         "This account has been created prior to 11-23-2011. <a href="},
    };
    startClient();
    for (const auto &c : cases) {
        service->writeConfig(c.config);
        ASSERT_TRUE(logIn(c.user, c.password)) << c.user;
        EXPECT_FALSE(mainView->enabled) << c.user;
        EXPECT_TRUE(loginView->errorHtml.contains(c.shown)) << c.user << ": " << loginView->errorHtml.toStdString();
        EXPECT_TRUE(loginView->floatingVisible);
        EXPECT_FALSE(loginView->spinning);
        EXPECT_EQ(loginView->user, c.user);  // the typed values stay
        EXPECT_TRUE(nothingStored()) << c.user;
    }
    // The reactivation link carries the user name escaped.
    service->writeConfig(withAccount({{"username", "a&b c"}, {"password", "pw"}, {"accstat", "C"}}));
    ASSERT_TRUE(logIn("a&b c", "pw"));
    EXPECT_TRUE(loginView->errorHtml.contains("reactivationRequest?user=a%26b%20c"))
        << loginView->errorHtml.toStdString();
}

TEST_F(LoginFailuresTest, ServiceFaultsAreRetriedThreeTimesThenReported)
{
    for (const char *mode : {"error500", "badxml", "truncated"}) {
        QJsonObject config = accounts();
        config.insert("failures", QJsonObject{{kDetailsPath, mode}});
        service->writeConfig(config);
        const int before = requestsTo(kDetailsPath);
        startClient();
        ASSERT_TRUE(logIn("demo", "demo password")) << mode;
        EXPECT_EQ(requestsTo(kDetailsPath) - before, LoginValidator::kAccountDetailsAttempts) << mode;
        EXPECT_TRUE(loginView->errorHtml.contains("Unable to connect to server")) << mode;
        EXPECT_TRUE(nothingStored()) << mode;
    }
}

TEST_F(LoginFailuresTest, ASilentServerTimesOut)
{
    QJsonObject config = accounts();
    config.insert("failures", QJsonObject{{kDetailsPath, "slow"}});
    config.insert("slowReplyMs", 1500);
    service->writeConfig(config);
    timings.login.validator.accountDetails = std::chrono::milliseconds(300);
    startClient();
    ASSERT_TRUE(logIn("demo", "demo password")) << "no answer within the retries' time-outs";
    EXPECT_TRUE(loginView->errorHtml.contains("Unable to connect to server"));
}

TEST_F(LoginFailuresTest, AnEngineThatCannotEncodeFailsTheLogin)
{
    QTemporaryDir noEngine;
    const QByteArray saved = qgetenv("TX_BIN_DIR");
    qputenv("TX_BIN_DIR", noEngine.path().toUtf8());

    startClient();
    const bool answered = logIn("demo", "demo password");
    qputenv("TX_BIN_DIR", saved);

    ASSERT_TRUE(answered);
    EXPECT_FALSE(mainView->enabled);
    EXPECT_TRUE(loginView->errorHtml.startsWith("Unable to prepare your credentials for the storage engine"))
        << loginView->errorHtml.toStdString();
    EXPECT_TRUE(nothingStored());
}

TEST_F(LoginFailuresTest, UntrustedServerIsRefused)
{
    service->configureClient(false);
    startClient();
    ASSERT_TRUE(logIn("demo", "demo password"));
    EXPECT_FALSE(mainView->enabled);
    EXPECT_TRUE(nothingStored());
}

}  // namespace
