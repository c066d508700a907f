#include "common/webservice/ScriptController.h"
#include "common/texts/QLLocalizedString.h"
#include "common/webservice/ScriptControllerDelegate.h"
#include "common/webservice/ScriptURLConnection.h"
#include "support/SandboxFixture.h"
#include "support/WebServiceStandIn.h"

#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QTcpServer>
#include <QTimer>

#include <memory>

namespace {

struct ControllerEvent
{
    QString kind;  // "success", "connectionError" or "parsingFailed"
    QVariant value;
};

class RecordingDelegate : public ScriptControllerDelegate
{
public:
    QList<ControllerEvent> events;

    void didScriptControllerFinishedSuccessfully(const QVariant &result, ScriptController *) override
    {
        events.append({"success", result});
    }
    void connectionError(const QString &error, ScriptController *) override
    {
        events.append({"connectionError", error});
    }
    void parsingFailedWithError(const QString &error, ScriptController *) override
    {
        events.append({"parsingFailed", error});
    }
};

const QString kAwkwardPassword = QString::fromUtf8("p w&=\"+%é");

QJsonObject standInAccounts()
{
    return QJsonObject{
        {"accounts", QJsonArray{QJsonObject{{"username", "alice smith"},
                                            {"password", kAwkwardPassword},
                                            {"enctype", "default"},
                                            {"username_sync", "alice.sync"},
                                            {"password_sync", "s p=\"q\""},
                                            {"ruvosrvrip", "10.0.0.5"}},
                                QJsonObject{{"username", "bob"},
                                            {"password", "secret"},
                                            {"enctype", "private"},
                                            {"pvtkey", "key&with=signs"}}}},
        {"syncAccounts", QJsonArray{QJsonObject{{"username", "alice.sync"},
                                                {"password", "s p=\"q\""},
                                                {"ruvosrvrip", "10.0.0.6"},
                                                {"ruvowebsrvrip", "10.0.0.7"}}}},
        {"slowReplyMs", 3000},
    };
}

class ScriptControllerTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        service = WebServiceStandIn::startForClient(root() + "/webservice", standInAccounts());
        ASSERT_TRUE(service);
        controller.setDelegate(&delegate);
    }

    void TearDown() override
    {
        service.reset();
        SandboxFixture::TearDown();
    }

    void failPath(const QString &path, const QString &mode)
    {
        QJsonObject config = standInAccounts();
        config.insert("failures", QJsonObject{{path, mode}});
        service->writeConfig(config);
    }

    // Runs the event loop until the delegate has heard of the request, then a little
    // longer so that a second callback would be seen too.
    void waitForEnd()
    {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!delegate.events.isEmpty())
                loop.quit();
        });
        poll.start(10);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        QEventLoop settle;
        QTimer::singleShot(100, &settle, &QEventLoop::quit);
        settle.exec();
    }

    QJsonObject lastRequest() const
    {
        const QList<QJsonObject> requests = service->requests();
        return requests.isEmpty() ? QJsonObject() : requests.last();
    }

    std::unique_ptr<WebServiceStandIn> service;
    RecordingDelegate delegate;
    ScriptController controller;
};

TEST_F(ScriptControllerTest, SyncAccountRequestSendsEscapedFormAndGivesOneDictionary)
{
    controller.GetTarnixsyncAccountUsernameAndPassword("alice smith", kAwkwardPassword, "default");
    waitForEnd();

    ASSERT_EQ(delegate.events.size(), 1);
    EXPECT_EQ(delegate.events[0].kind, "success");
    const QVariantMap expected{{"message", "SUCCESS"},
                               {"username_sync", "alice.sync"},
                               {"password_sync", "s p=\"q\""},
                               {"ruvosrvrip", "10.0.0.5"}};
    EXPECT_EQ(delegate.events[0].value.toMap(), expected);

    const QJsonObject request = lastRequest();
    EXPECT_EQ(request["method"].toString(), "POST");
    EXPECT_EQ(request["path"].toString(), "/cgi-bin/get_tarnix_ruvo_details_xml_ip_sync.cgi");
    EXPECT_EQ(request["contentType"].toString(), "application/x-www-form-urlencoded");
    // Blanks, "&", "=", quotes, "+" and "%" travel escaped; the form's own separators stay.
    // (The request log shows each password as a digest of the text sent.)
    EXPECT_EQ(request["body"].toString(),
              "username=alice%20smith&password=" + WebServiceStandIn::maskedSecret("p%20w%26%3D%22%2B%25%C3%A9") +
                  "&enctype=default");
    EXPECT_EQ(request["fields"].toObject()["password"].toString(), WebServiceStandIn::maskedSecret(kAwkwardPassword));
}

TEST_F(ScriptControllerTest, KeyOtherThanDefaultIsSentAsPrivateKey)
{
    const struct
    {
        QString user, password, key;
        QStringList fieldNames;
        QString message;
    } cases[] = {
        {"alice smith", kAwkwardPassword, "default", {"username", "password", "enctype"}, "SUCCESS"},
        {"bob", "secret", "key&with=signs", {"username", "password", "enctype", "pvtkey"}, "SUCCESS"},
        {"bob", "secret", "wrong key", {"username", "password", "enctype", "pvtkey"}, "FAILURE"},
        {"bob", "wrong", "default", {"username", "password", "enctype"}, "FAILURE"},
    };
    for (const auto &c : cases) {
        delegate.events.clear();
        controller.GetTarnixsyncAccountUsernameAndPassword(c.user, c.password, c.key);
        waitForEnd();
        ASSERT_EQ(delegate.events.size(), 1) << c.key.toStdString();
        EXPECT_EQ(delegate.events[0].value.toMap().value("message").toString(), c.message) << c.key.toStdString();
        const QJsonObject fields = lastRequest()["fields"].toObject();
        EXPECT_EQ(fields.keys().size(), c.fieldNames.size()) << c.key.toStdString();
        for (const QString &name : c.fieldNames)
            EXPECT_TRUE(fields.contains(name)) << name.toStdString();
        EXPECT_EQ(fields["enctype"].toString(), c.key == "default" ? "default" : "private");
        if (c.key != "default") {
            EXPECT_EQ(fields["pvtkey"].toString(), WebServiceStandIn::maskedSecret(c.key));
        }
    }
}

TEST_F(ScriptControllerTest, SyncDetailsRequestReadsTheStorageHost)
{
    controller.GetSyncDetailsForUsername("alice.sync", "s p=\"q\"");
    waitForEnd();

    ASSERT_EQ(delegate.events.size(), 1);
    const QVariantMap expected{{"message", "SUCCESS"}, {"ruvosrvrip", "10.0.0.6"}, {"ruvowebsrvrip", "10.0.0.7"}};
    EXPECT_EQ(delegate.events[0].value.toMap(), expected);
    EXPECT_EQ(lastRequest()["path"].toString(), "/cgi-bin/get_txsync_ruvo_details_xml_ip.cgi");
    EXPECT_EQ(lastRequest()["body"].toString(),
              "username=alice.sync&password=" + WebServiceStandIn::maskedSecret("s%20p%3D%22q%22") +
                  "&enctype=default");
}

TEST_F(ScriptControllerTest, EveryFailureReachesTheDelegateAsItsFailure)
{
    const QString path = "/cgi-bin/get_tarnix_ruvo_details_xml_ip_sync.cgi";
    const struct
    {
        QString mode;
        QString kind;
        QString text;  // empty: not compared
    } cases[] = {
        {"slow", "connectionError", ScriptController::kConnectionErrorText},
        {"error500", "connectionError", ScriptController::kConnectionErrorText},
        {"truncated", "connectionError", ScriptController::kConnectionErrorText},
        {"unauthorized", "connectionError", ScriptController::kConnectionErrorText},
        {"badxml", "parsingFailed", ""},
        {"nomessage", "parsingFailed", ScriptController::kNoMessageText},
    };
    for (const auto &c : cases) {
        // Only the slow reply (3 s) meets a short limit; the others keep the real one.
        ScriptController caseController(c.mode == "slow" ? ScriptControllerTimings{std::chrono::milliseconds(500)}
                                                         : ScriptControllerTimings{});
        caseController.setDelegate(&delegate);
        failPath(path, c.mode);
        delegate.events.clear();
        caseController.GetTarnixsyncAccountUsernameAndPassword("alice smith", kAwkwardPassword, "default");
        waitForEnd();
        ASSERT_EQ(delegate.events.size(), 1) << c.mode.toStdString();
        EXPECT_EQ(delegate.events[0].kind, c.kind) << c.mode.toStdString();
        if (!c.text.isEmpty()) {
            EXPECT_EQ(delegate.events[0].value.toString(), c.text) << c.mode.toStdString();
        }
    }
}

TEST_F(ScriptControllerTest, RedirectedReplyHoldsOnlyTheFinalBody)
{
    failPath("/cgi-bin/get_txsync_ruvo_details_xml_ip.cgi", "redirect");
    controller.GetSyncDetailsForUsername("alice.sync", "s p=\"q\"");
    waitForEnd();

    ASSERT_EQ(delegate.events.size(), 1);
    EXPECT_EQ(delegate.events[0].kind, "success");
    EXPECT_EQ(delegate.events[0].value.toMap().value("message"), "SUCCESS");
    EXPECT_EQ(service->requests().size(), 2);
}

TEST_F(ScriptControllerTest, ParsingFailureIsTraced)
{
    failPath("/cgi-bin/get_txsync_ruvo_details_xml_ip.cgi", "badxml");
    controller.GetSyncDetailsForUsername("alice.sync", "s p=\"q\"");
    waitForEnd();

    ASSERT_EQ(delegate.events.size(), 1);
    EXPECT_EQ(delegate.events[0].kind, "parsingFailed");
    const QString trace = QString::fromUtf8(readText(QLLocalizedString("InteractiveTraceFilePath")));
    EXPECT_TRUE(trace.contains("Parsing failed. For Data : <root><login message=\"SUCCESS\"</root> , Reason : "))
        << trace.toStdString();
}

TEST_F(ScriptControllerTest, UnreachableOrUntrustedServerIsAConnectionError)
{
    // The system store does not know the test authority: the certificate is refused.
    service->configureClient(false);
    controller.GetSyncDetailsForUsername("alice.sync", "s p=\"q\"");
    waitForEnd();
    ASSERT_EQ(delegate.events.size(), 1);
    EXPECT_EQ(delegate.events[0].kind, "connectionError");
    EXPECT_TRUE(service->requests().isEmpty());

    service->stop();  // nothing listens any more
    delegate.events.clear();
    controller.GetSyncDetailsForUsername("alice.sync", "s p=\"q\"");
    waitForEnd();
    ASSERT_EQ(delegate.events.size(), 1);
    EXPECT_EQ(delegate.events[0].value.toString(), ScriptController::kConnectionErrorText);
}

TEST_F(ScriptControllerTest, NewRequestReplacesTheRunningOne)
{
    failPath("/cgi-bin/get_tarnix_ruvo_details_xml_ip_sync.cgi", "slow");
    controller.GetTarnixsyncAccountUsernameAndPassword("alice smith", kAwkwardPassword, "default");
    controller.GetSyncDetailsForUsername("alice.sync", "s p=\"q\"");
    waitForEnd();

    ASSERT_EQ(delegate.events.size(), 1);
    EXPECT_EQ(delegate.events[0].value.toMap().value("ruvosrvrip"), "10.0.0.6");
}

TEST_F(ScriptControllerTest, JsonRequestThatGetsNoJsonIsNoSuccess)
{
    controller.setupConnectionForURL(QUrl(service->url() + "/cgi-bin/Notify_unicode"), "EMAIL=x",
                                     ScriptURLConnection::kJSONFormat);
    waitForEnd();

    ASSERT_EQ(delegate.events.size(), 1);
    EXPECT_EQ(delegate.events[0].kind, "parsingFailed");
    EXPECT_EQ(delegate.events[0].value.toString(), ScriptController::kUnexpectedResultText);
}

TEST_F(ScriptControllerTest, ARedirectToAnotherOriginIsNotFollowedAndTheOtherOriginHearsNothing)
{
    QTcpServer otherOrigin;
    ASSERT_TRUE(otherOrigin.listen(QHostAddress::LocalHost));
    int connections = 0;
    QObject::connect(&otherOrigin, &QTcpServer::newConnection, [&] { ++connections; });
    QJsonObject config = standInAccounts();
    config.insert("failures", QJsonObject{{"/cgi-bin/get_txsync_ruvo_details_xml_ip.cgi", "redirect-away"}});
    config.insert("redirectAwayTarget", QStringLiteral("https://127.0.0.1:%1/steal").arg(otherOrigin.serverPort()));
    service->writeConfig(config);

    controller.GetSyncDetailsForUsername("alice.sync", "s p=\"q\"");
    waitForEnd();
    ASSERT_EQ(delegate.events.size(), 1);
    EXPECT_EQ(delegate.events[0].kind, "connectionError");
    EXPECT_EQ(connections, 0);
}

TEST_F(ScriptControllerTest, OversizedTricklingAndPlainHttpRepliesEndInOneConnectionError)
{
    QTcpServer plain;
    ASSERT_TRUE(plain.listen(QHostAddress::LocalHost));
    int plainConnections = 0;
    QObject::connect(&plain, &QTcpServer::newConnection, [&] { ++plainConnections; });

    // A total limit short enough for the test; the idle limit stays the product's.
    ScriptController limited(
        ScriptControllerTimings{ScriptControllerTimings{}.requestTimeout, std::chrono::milliseconds(1500)});
    limited.setDelegate(&delegate);
    const struct
    {
        const char *mode;
        std::function<void()> send;
    } cases[] = {
        {"huge", [&] { limited.GetSyncDetailsForUsername("alice.sync", "s p=\"q\""); }},
        {"trickle", [&] { limited.GetSyncDetailsForUsername("alice.sync", "s p=\"q\""); }},
        {"plain http",
         [&] {
             limited.setupConnectionForURL(
                 QUrl(QStringLiteral("http://127.0.0.1:%1/cgi-bin/x").arg(plain.serverPort())), "password=secret",
                 ScriptURLConnection::kXMLFormat);
         }},
    };
    for (const auto &c : cases) {
        failPath("/cgi-bin/get_txsync_ruvo_details_xml_ip.cgi", c.mode);
        delegate.events.clear();
        c.send();
        waitForEnd();
        ASSERT_EQ(delegate.events.size(), 1) << c.mode;
        EXPECT_EQ(delegate.events[0].kind, "connectionError") << c.mode;
    }
    EXPECT_EQ(plainConnections, 0);
}

}  // namespace
