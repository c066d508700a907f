#include "support/WebServiceStandIn.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <memory>
#include <vector>

namespace {

const QString kAccountPath = QStringLiteral("/cgi-bin/get_tarnix_ruvo_details_xml_ip_sync.cgi");
const QString kSyncPath = QStringLiteral("/cgi-bin/get_txsync_ruvo_details_xml_ip.cgi");

struct Reply
{
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int status = 0;
    QByteArray body;
    QByteArray header(const QByteArray &name) const { return headers.value(name.toLower()); }
    QMap<QByteArray, QByteArray> headers;
};

QJsonObject accounts()
{
    return QJsonObject{
        {"accounts", QJsonArray{QJsonObject{{"username", "ann"},
                                            {"password", "a&b c"},
                                            {"username_sync", "ann.sync"},
                                            {"password_sync", "x\"y<z"},
                                            {"ruvosrvrip", "10.1.1.1"}},
                                QJsonObject{{"username", "nosync"}, {"password", "pw"}}}},
        {"syncAccounts", QJsonArray{QJsonObject{{"username", "ann.sync"},
                                                {"password", "x\"y<z"},
                                                {"ruvosrvrip", "10.2.2.2"},
                                                {"ruvowebsrvrip", "10.3.3.3"}}}},
        {"slowReplyMs", 400},
    };
}

class StandInServiceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        service = std::make_unique<WebServiceStandIn>(folder.path());
        service->writeConfig(accounts());
        ASSERT_TRUE(service->start(true));
    }

    Reply post(const QString &path, const QByteArray &body, bool trustTestAuthority = true,
               const QByteArray &authorization = {}, std::chrono::milliseconds patience = std::chrono::seconds(30))
    {
        return send(path, body, trustTestAuthority, authorization, patience);
    }

    // A GET of the path and query when body is null.
    Reply send(const QString &path, const QByteArray &body, bool trustTestAuthority = true,
               const QByteArray &authorization = {}, std::chrono::milliseconds patience = std::chrono::seconds(30))
    {
        QNetworkRequest request(QUrl(service->url() + path));
        request.setTransferTimeout(int(patience.count()));
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
        if (!authorization.isEmpty())
            request.setRawHeader("Authorization", authorization);
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        if (trustTestAuthority)
            tls.setCaCertificates(QSslCertificate::fromPath(WebServiceStandIn::certificateFolder() + "/ca.pem"));
        request.setSslConfiguration(tls);
        QNetworkAccessManager manager;
        manager.setProxy(proxy);
        QNetworkReply *reply = body.isNull() ? manager.get(request) : manager.post(request, body);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        Reply result{
            reply->error(), reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(), {}};
        for (const auto &[name, value] : reply->rawHeaderPairs())
            result.headers.insert(name.toLower(), value);
        delete reply;
        return result;
    }

    void failPath(const QString &path, const QString &mode)
    {
        QJsonObject config = accounts();
        config.insert("failures", QJsonObject{{path, mode}});
        service->writeConfig(config);
    }

    QTemporaryDir folder;
    std::unique_ptr<WebServiceStandIn> service;
    QNetworkProxy proxy{QNetworkProxy::NoProxy};
};

TEST_F(StandInServiceTest, AnswersTheAccountRequestsInTheirXmlForm)
{
    const struct
    {
        QString path;
        QByteArray body;
        QByteArray reply;
    } cases[] = {
        {kAccountPath, "username=ann&password=a%26b%20c&enctype=default",
         R"(<root><login message="SUCCESS" username_sync="ann.sync" password_sync="x&quot;y&lt;z" ruvosrvrip="10.1.1.1"/></root>)"},
        {kAccountPath, "username=nosync&password=pw&enctype=default", R"(<root><login message="SUCCESS"/></root>)"},
        {kAccountPath, "username=ann&password=wrong&enctype=default",
         R"(<root><login message="FAILURE" desc="Invalid username or password"/></root>)"},
        {kAccountPath, "username=ann&password=a%26b%20c&enctype=private&pvtkey=k",
         R"(<root><login message="FAILURE" desc="Encryption type does not match the account"/></root>)"},
        {kSyncPath, "username=ann.sync&password=x%22y%3Cz&enctype=default",
         R"(<root><sync message="SUCCESS" ruvosrvrip="10.2.2.2" ruvowebsrvrip="10.3.3.3"/></root>)"},
        {kSyncPath, "username=ann.sync&password=x&enctype=default",
         R"(<root><sync message="FAILURE" desc="Invalid sync username or password"/></root>)"},
        {"/cgi-bin/Notify_unicode", "EMAIL=a&CONTENT=b", "Report received"},
    };
    for (const auto &c : cases) {
        const Reply reply = post(c.path, c.body);
        EXPECT_EQ(reply.error, QNetworkReply::NoError) << c.body.toStdString();
        EXPECT_EQ(reply.body, c.reply) << c.body.toStdString();
    }
    const QList<QJsonObject> requests = service->requests();
    ASSERT_EQ(requests.size(), std::size(cases));
    EXPECT_EQ(requests[0]["fields"].toObject()["password"].toString(), WebServiceStandIn::maskedSecret("a&b c"));
    EXPECT_EQ(requests[0]["body"].toString(),
              "username=ann&password=" + WebServiceStandIn::maskedSecret("a%26b%20c") + "&enctype=default");
}

TEST_F(StandInServiceTest, ShareTokensNameTheirItemsAndOpenAPageListingThem)
{
    const QByteArray signIn = "uid=ann&pwd=a%26b%20c&op_type=share";
    const struct
    {
        QByteArray items;
        QByteArray reply;  // "SUCCESS:" means a token
    } cases[] = {
        {"&filePaths=%2FOffice%2Fa%20%26b.txt&folderPaths=%2FOffice%2Fdocs", "SUCCESS:"},
        {"", "FAILURE:No items to share\n"},
        {"&filePaths=Office%2Fa.txt", "FAILURE:Invalid item path\n"},
        {"&filePaths=/x", "SUCCESS:"},
    };
    for (const auto &c : cases) {
        const Reply reply = post("/tarnix/desktop/getToken", signIn + c.items);
        EXPECT_TRUE(reply.body.startsWith(c.reply)) << c.items.toStdString() << " -> " << reply.body.toStdString();
    }
    EXPECT_EQ(post("/tarnix/desktop/getToken", "uid=ann&pwd=wrong&op_type=share&filePaths=/x").body,
              "FAILURE:Invalid username or password\n");

    const QByteArray token = post("/tarnix/desktop/getToken", signIn + cases[0].items).body.mid(8).trimmed();
    const Reply page = send("/tarnix/desktop/Auto?token=" + QString::fromLatin1(token), QByteArray());
    EXPECT_EQ(page.body.toStdString(),
              "<html><body><h1>Shared items</h1><ul><li>file: /Office/a &amp;b.txt</li><li>folder: "
              "/Office/docs</li></ul></body></html>");
    // An account token opens the account's page.
    const QByteArray accountToken =
        post("/tarnix/desktop/getToken", "uid=ann&pwd=a%26b%20c&op_type=upgrade").body.mid(8).trimmed();
    EXPECT_TRUE(send("/tarnix/desktop/Auto?token=" + QString::fromLatin1(accountToken), QByteArray())
                    .body.contains("Your account"));
}

TEST_F(StandInServiceTest, TheRequestLogHoldsNoSecretAndOnlyItsOwnerMayReadIt)
{
    const QByteArray credentials = QByteArray("ann:web pass").toBase64();
    post(kAccountPath, "username=ann&password=a%26b%20c&enctype=private&pvtkey=k%20ey", true, "Basic " + credentials);
    post("/ruvo/configureAccount", "uid=nosync&PWD=p%40ss&enctype=default");
    post("/cgi-bin/Notify_unicode", "EMAIL=a&Key=s3cret&CONTENT=password%3Dshown");
    proxy = QNetworkProxy(QNetworkProxy::HttpProxy, "127.0.0.1", service->proxyPort(), "proxyuser", "proxy pass");
    post("/cgi-bin/Notify_unicode", "");

    QFile log(service->requestLogPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    const QByteArray proxyCredentials = QByteArray("proxyuser:proxy pass").toBase64();
    for (const QByteArray &secret :
         {QByteArray("a&b c"), QByteArray("a%26b%20c"), QByteArray("k ey"), QByteArray("k%20ey"), QByteArray("p@ss"),
          QByteArray("p%40ss"), QByteArray("s3cret"), credentials, proxyCredentials})
        EXPECT_FALSE(text.contains(secret)) << secret.toStdString();
    struct stat info
    {};
    ASSERT_EQ(::stat(QFile::encodeName(service->requestLogPath()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600);

    // What was sent can still be checked against what was expected.
    const QList<QJsonObject> requests = service->requests();
    ASSERT_GE(requests.size(), 4);
    const QJsonObject account = requests[0]["fields"].toObject();
    EXPECT_EQ(account["username"].toString(), "ann");
    EXPECT_EQ(account["password"].toString(), WebServiceStandIn::maskedSecret("a&b c"));
    EXPECT_EQ(account["pvtkey"].toString(), WebServiceStandIn::maskedSecret("k ey"));
    EXPECT_EQ(requests[0]["body"].toString(),
              "username=ann&password=" + WebServiceStandIn::maskedSecret("a%26b%20c") +
                  "&enctype=private&pvtkey=" + WebServiceStandIn::maskedSecret("k%20ey"));
    EXPECT_EQ(requests[0]["authorization"].toString(), "Basic " + WebServiceStandIn::maskedSecret(credentials));
    EXPECT_EQ(requests[1]["fields"].toObject()["PWD"].toString(), WebServiceStandIn::maskedSecret("p@ss"));
    EXPECT_EQ(requests[2]["fields"].toObject()["Key"].toString(), WebServiceStandIn::maskedSecret("s3cret"));
    EXPECT_EQ(requests[2]["fields"].toObject()["CONTENT"].toString(), "password=shown");  // only fields are secrets
    const QJsonObject answered = requests.last();
    EXPECT_EQ(answered["service"].toString(), "proxy");
    EXPECT_EQ(answered["proxyAuthorization"].toString(), "Basic " + WebServiceStandIn::maskedSecret(proxyCredentials));
}

TEST_F(StandInServiceTest, FailsOnPurposeAsConfigured)
{
    const struct
    {
        QString mode;
        int status;
        QByteArray body;  // empty: not compared
    } cases[] = {
        {"error500", 500, "Internal server error"},
        {"badxml", 200, R"(<root><login message="SUCCESS"</root>)"},
        {"nomessage", 200,
         R"(<root><login username_sync="ann.sync" password_sync="x&quot;y&lt;z" ruvosrvrip="10.1.1.1"/></root>)"},
        // The client follows the redirect and sees only the final reply.
        {"redirect", 200,
         R"(<root><login message="SUCCESS" username_sync="ann.sync" password_sync="x&quot;y&lt;z" ruvosrvrip="10.1.1.1"/></root>)"},
        {"unauthorized", 401, ""},  // last: its header is checked below
    };
    for (const auto &c : cases) {
        failPath(kAccountPath, c.mode);
        const Reply reply = post(kAccountPath, "username=ann&password=a%26b%20c&enctype=default");
        EXPECT_EQ(reply.status, c.status) << c.mode.toStdString();
        if (!c.body.isEmpty()) {
            EXPECT_EQ(reply.body, c.body) << c.mode.toStdString();
        }
    }
    EXPECT_EQ(post(kAccountPath, "").header("WWW-Authenticate"), "Basic realm=\"stand-in web service\"");
    // Other paths are served as usual.
    EXPECT_EQ(post(kSyncPath, "username=ann.sync&password=x&enctype=default").status, 200);
}

TEST_F(StandInServiceTest, SlowAndTruncatedReplies)
{
    failPath(kAccountPath, "slow");
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(post(kAccountPath, "username=ann&password=a%26b%20c&enctype=default").status, 200);
    EXPECT_GE(clock.elapsed(), 400);

    failPath(kAccountPath, "truncated");
    const Reply reply = post(kAccountPath, "username=ann&password=a%26b%20c&enctype=default");
    EXPECT_NE(reply.error, QNetworkReply::NoError);
}

TEST_F(StandInServiceTest, IdleClientsHoldUpNoOtherRequest)
{
    // Connections that never send a byte, more than the machine has processors.
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    const QUrl url(service->url());
    for (int i = 0; i < 40; ++i) {
        idle.push_back(std::make_unique<QTcpSocket>());
        idle.back()->connectToHost(url.host(), quint16(url.port()));
        ASSERT_TRUE(idle.back()->waitForConnected(5000));
    }
    const Reply reply = post(kSyncPath, "username=ann.sync&password=x%22y%3Cz", true, {}, std::chrono::seconds(8));
    EXPECT_EQ(reply.error, QNetworkReply::NoError);
    EXPECT_EQ(reply.status, 200);
}

TEST_F(StandInServiceTest, CertificateVerifiesOnlyAgainstTheTestAuthority)
{
    EXPECT_EQ(post("/cgi-bin/Notify_unicode", "", true).error, QNetworkReply::NoError);
    EXPECT_EQ(post("/cgi-bin/Notify_unicode", "", false).error, QNetworkReply::SslHandshakeFailedError);
}

TEST_F(StandInServiceTest, ProxyAsksForCredentialsEveryTime)
{
    proxy = QNetworkProxy(QNetworkProxy::HttpProxy, "127.0.0.1", service->proxyPort());
    const Reply reply = post("/cgi-bin/Notify_unicode", "");
    EXPECT_EQ(reply.error, QNetworkReply::ProxyAuthenticationRequiredError);
    const QList<QJsonObject> requests = service->requests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0]["service"].toString(), "proxy");
    EXPECT_EQ(requests[0]["method"].toString(), "CONNECT");
    EXPECT_EQ(requests[0]["target"].toString(), QString("127.0.0.1:%1").arg(QUrl(service->url()).port()));
}

// The exit code of a stand-in that should refuse to start; -1 when it runs on.
int exitCodeOfStandIn(const QStringList &arguments)
{
    QProcess process;
    process.start(qEnvironmentVariable("TX_BIN_DIR") + "/txwebservice", arguments);
    if (process.waitForFinished(5000))
        return process.exitCode();
    process.kill();
    process.waitForFinished();
    return -1;
}

TEST(StandInStartTest, RefusesToStartWithoutItsCertificatesOrOnABusyPort)
{
    QTemporaryDir folder;
    EXPECT_EQ(exitCodeOfStandIn({"--certificates", folder.path(), "--config", folder.path() + "/c.json"}), 1);
    EXPECT_EQ(exitCodeOfStandIn({"--config", folder.path() + "/c.json"}), 1);

    WebServiceStandIn running(folder.path());
    ASSERT_TRUE(running.start());
    const QString busyPort = QString::number(QUrl(running.url()).port());
    EXPECT_EQ(exitCodeOfStandIn({"--certificates", WebServiceStandIn::certificateFolder(), "--config",
                                 folder.path() + "/config.json", "--port", busyPort}),
              1);
}

}  // namespace
