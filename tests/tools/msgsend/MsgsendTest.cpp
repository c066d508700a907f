#include "common/messaging/MessageSendingModule.h"
#include "platform/LocalMessageConnection.h"
#include "support/IPCMessageRecorder.h"
#include "support/SandboxFixture.h"

#include <QJsonDocument>
#include <QProcess>

namespace {

constexpr int kProcessPatienceMs = 10000;

// The tool runs as a second process of the same user, in the test's sandbox.
class MsgsendTest : public SandboxFixture
{
protected:
    static QString tool() { return qEnvironmentVariable("TX_BIN_DIR") + "/msgsend"; }

    static void start(QProcess &process, const QStringList &arguments)
    {
        process.start(tool(), arguments);
        EXPECT_TRUE(process.waitForStarted(kProcessPatienceMs)) << qPrintable(process.errorString());
    }

    static int run(const QStringList &arguments, QByteArray *errorOutput = nullptr)
    {
        QProcess process;
        start(process, arguments);
        EXPECT_TRUE(process.waitForFinished(kProcessPatienceMs));
        if (errorOutput)
            *errorOutput = process.readAllStandardError();
        return process.exitCode();
    }

    static QByteArray readLine(QProcess &process)
    {
        while (!process.canReadLine()) {
            if (!process.waitForReadyRead(kProcessPatienceMs))
                return {};
        }
        return process.readLine().trimmed();
    }

    const QString mClient = MessageSendingModule::clientName("SERIAL", "alice");
    const QString mMonitor = MessageSendingModule::monitorName("SERIAL", "alice");
};

TEST_F(MsgsendTest, SendsAMessageToAModuleOfAnotherProcess)
{
    IPCMessageRecorder atClient;
    MessageSendingModule client;
    client.setDelegate(&atClient);
    ASSERT_TRUE(client.setupConnection(mClient, mMonitor));

    EXPECT_EQ(run({"send", "--from", mMonitor, "--to", mClient, "--type", "8", "--text", "1"}), 0);
    ASSERT_TRUE(atClient.waitForMessages(1));
    EXPECT_EQ(atClient.messages(), (QVariantList{QVariantList{"1", "8", mMonitor, mClient}}));
}

TEST_F(MsgsendTest, ReportsAMessageNobodyReceives)
{
    QByteArray errorOutput;
    EXPECT_EQ(run({"send", "--from", mMonitor, "--to", mClient, "--type", "3"}, &errorOutput), 1);
    EXPECT_TRUE(errorOutput.contains("cannot reach " + mClient.toUtf8())) << errorOutput.constData();
}

TEST_F(MsgsendTest, ReceivesWhatAModuleSends)
{
    QProcess listener;
    start(listener, {"listen", "--as", mMonitor, "--count", "1", "--wait", "10"});
    ASSERT_EQ(readLine(listener), "listening as " + mMonitor.toUtf8());

    MessageSendingModule client;
    client.setupConnection(mClient, mMonitor);
    client.sendIPCMessage(QVariantMap{{"AccountType", "Business"}}, 1, true);

    const QJsonDocument received = QJsonDocument::fromJson(readLine(listener));
    EXPECT_EQ(received.toVariant(),
              QVariant(QVariantList{QVariantMap{{"AccountType", "Business"}}, "1", mClient, mMonitor}));
    EXPECT_TRUE(listener.waitForFinished(kProcessPatienceMs));
    EXPECT_EQ(listener.exitCode(), 0);
}

TEST_F(MsgsendTest, AListenerRefusesAFrameItCannotReadAndGoesOn)
{
    QProcess listener;
    start(listener, {"listen", "--as", mMonitor, "--count", "1", "--wait", "10"});
    ASSERT_EQ(readLine(listener), "listening as " + mMonitor.toUtf8());

    // A frame whose body is no message: refused, and the listener keeps serving.
    QString error;
    auto raw = LocalMessageConnection::open(mMonitor, std::chrono::milliseconds(kProcessPatienceMs), &error);
    ASSERT_TRUE(raw) << qPrintable(error);
    raw->call("not a message", std::chrono::milliseconds(kProcessPatienceMs),
              std::chrono::milliseconds(kProcessPatienceMs), &error);

    MessageSendingModule client;
    client.setupConnection(mClient, mMonitor);
    client.sendIPCMessage(QStringLiteral("after"), 3, true);
    const QJsonDocument received = QJsonDocument::fromJson(readLine(listener));
    EXPECT_EQ(received.toVariant(), QVariant(QVariantList{"after", "3", mClient, mMonitor}));
    EXPECT_TRUE(listener.waitForFinished(kProcessPatienceMs));
    EXPECT_EQ(listener.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(listener.exitCode(), 0);
}

}  // namespace
