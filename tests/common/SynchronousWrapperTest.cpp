#include "common/webservice/SynchronousWrapper.h"
#include "common/webservice/SynchronousWrapperDelegate.h"
#include "common/webservice/URLRequest.h"
#include "support/SandboxFixture.h"
#include "support/WebServiceStandIn.h"

#include <QNetworkProxy>
#include <QTimer>

#include <memory>

namespace {

const QString kReportPath = QStringLiteral("/cgi-bin/Notify_unicode");

class RecordingDelegate : public SynchronousWrapperDelegate
{
public:
    QStringList events;
    QByteArray data;

    void didReceiveResponse(int httpStatus) override { events.append(QString("response %1").arg(httpStatus)); }
    void didReceiveData(const QByteArray &block) override { data += block; }
    void didFinishLoading() override { events.append("finished"); }
    void didFailWithError(const RequestError &error) override { events.append("failed " + error.domain); }
};

class SynchronousWrapperTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        service = WebServiceStandIn::startForClient(root() + "/webservice", QJsonObject(), true);
        ASSERT_TRUE(service);
    }

    void TearDown() override
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy());
        service.reset();
        SandboxFixture::TearDown();
    }

    void failReports(const QString &mode)
    {
        service->writeConfig(QJsonObject{{"failures", QJsonObject{{kReportPath, mode}}}, {"slowReplyMs", 300}});
    }

    URLRequest report() const
    {
        URLRequest request;
        request.url = QUrl(service->url() + kReportPath);
        request.method = "POST";
        request.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/x-www-form-urlencoded")));
        request.body = "EMAIL=support&SUBJECT=feedback&CONTENT=a%3Db%26c&user_email=u@example.com";
        return request;
    }

    void useStandInProxy()
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy, "127.0.0.1", service->proxyPort()));
    }

    QList<QJsonObject> proxyRequests() const
    {
        QList<QJsonObject> found;
        for (const QJsonObject &entry : service->requests())
            if (entry["service"].toString() == "proxy")
                found.append(entry);
        return found;
    }

    static void expectAuthError(const std::optional<RequestError> &error, bool fromProxy, int answers)
    {
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->domain, "Auth error");
        EXPECT_EQ(error->code, 1001);
        const QVariantMap challenge = error->userInfo.value("challenge").toMap();
        EXPECT_EQ(challenge.value("proxy").toBool(), fromProxy);
        EXPECT_EQ(challenge.value("previousFailureCount").toInt(), answers);
    }

    std::unique_ptr<WebServiceStandIn> service;
};

TEST_F(SynchronousWrapperTest, SuccessPassesEveryEventOnAndGivesNoError)
{
    RecordingDelegate delegate;
    SynchronousWrapper wrapper(&delegate);
    std::optional<RequestError> error = RequestError{"stale", 1, {}, {}};
    wrapper.ConnectRequest(report(), &error);

    EXPECT_FALSE(error.has_value());
    EXPECT_EQ(delegate.events, QStringList({"response 200", "finished"}));
    EXPECT_EQ(delegate.data, "Report received");
    ASSERT_EQ(service->requests().size(), 1);
    EXPECT_EQ(service->requests()[0]["fields"].toObject()["CONTENT"].toString(), "a=b&c");
}

TEST_F(SynchronousWrapperTest, CallerEventLoopRunsWhileWaiting)
{
    failReports("slow");
    bool timerFired = false;
    QTimer::singleShot(50, [&] { timerFired = true; });
    SynchronousWrapper wrapper;
    std::optional<RequestError> error;
    wrapper.ConnectRequest(report(), &error);

    EXPECT_TRUE(timerFired);
    EXPECT_FALSE(error.has_value());
}

TEST_F(SynchronousWrapperTest, ServerAskingForCredentialsFailsAtOnce)
{
    failReports("unauthorized");
    RecordingDelegate delegate;
    SynchronousWrapper wrapper(&delegate);
    wrapper.SetUserName("proxyuser", "proxypass");
    std::optional<RequestError> error;
    wrapper.ConnectRequest(report(), &error);

    expectAuthError(error, false, 0);
    EXPECT_EQ(delegate.events.last(), "failed Auth error");
    ASSERT_EQ(service->requests().size(), 1);  // the proxy's credentials never go to the server
    EXPECT_FALSE(service->requests()[0].contains("authorization"));
    ASSERT_TRUE(wrapper.lastError().has_value());
    EXPECT_EQ(wrapper.lastError()->code, 1001);
}

TEST_F(SynchronousWrapperTest, ProxyChallengeIsAnsweredThreeTimesThenFails)
{
    useStandInProxy();
    SynchronousWrapper wrapper;
    wrapper.SetUserName("proxyuser", "proxy pass");
    std::optional<RequestError> error;
    wrapper.ConnectRequest(report(), &error);

    expectAuthError(error, true, SynchronousWrapper::kProxyAnswers);
    const QList<QJsonObject> requests = proxyRequests();
    ASSERT_EQ(requests.size(), 4);
    EXPECT_FALSE(requests[0].contains("proxyAuthorization"));
    const QString credentials =
        "Basic " + WebServiceStandIn::maskedSecret(QByteArray("proxyuser:proxy pass").toBase64());
    for (int answer = 1; answer <= 3; ++answer)
        EXPECT_EQ(requests[answer]["proxyAuthorization"].toString(), credentials) << answer;
}

TEST_F(SynchronousWrapperTest, ProxyChallengeWithoutCredentialsFailsAtOnce)
{
    useStandInProxy();
    SynchronousWrapper wrapper;
    std::optional<RequestError> error;
    wrapper.ConnectRequest(report(), &error);

    expectAuthError(error, true, 0);
    EXPECT_EQ(proxyRequests().size(), 1);
}

TEST_F(SynchronousWrapperTest, TransportFailureComesBackAsItIs)
{
    failReports("error500");
    SynchronousWrapper wrapper;
    std::optional<RequestError> error;
    wrapper.ConnectRequest(report(), &error);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->domain, RequestError::kNetworkDomain);
    EXPECT_EQ(error->userInfo.value("httpStatus").toInt(), 500);

    service->stop();
    SynchronousWrapper second;
    second.ConnectRequest(report(), &error);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->domain, RequestError::kNetworkDomain);
    EXPECT_NE(error->code, 1001);
}

}  // namespace
