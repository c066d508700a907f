#include "common/messaging/MessageSendingModule.h"
#include "common/messaging/IPCMessage.h"
#include "common/messaging/RemoteMessageConnection.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/LocalMessageConnection.h"
#include "platform/PathStandardizer.h"
#include "platform/PropertyList.h"
#include "support/IPCMessageRecorder.h"
#include "support/SandboxFixture.h"

#include <QElapsedTimer>
#include <QThread>

using namespace std::chrono_literals;

namespace {

// Short where a timeout is what a test is about, patient elsewhere: the machine may be busy.
constexpr std::chrono::milliseconds kShortTimeout = 300ms;
constexpr std::chrono::milliseconds kPatientTimeout = 5s;
const QString kMachine = QStringLiteral("C02XYZ");

class MessageSendingModuleTest : public SandboxFixture
{
protected:
    // A module listening under own and sending to other.
    static std::unique_ptr<MessageSendingModule> module(const QString &own, const QString &other,
                                                        IPCMessageDelegate *delegate = nullptr)
    {
        auto result = std::make_unique<MessageSendingModule>(kPatientTimeout, kPatientTimeout);
        result->setDelegate(delegate);
        EXPECT_TRUE(result->setupConnection(own, other));
        return result;
    }

    static QString traceText()
    {
        return QString::fromUtf8(
            readText(PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("InteractiveTraceFilePath")))));
    }

    static bool waitForTrace(const QString &part)
    {
        QElapsedTimer clock;
        clock.start();
        while (!traceText().contains(part)) {
            if (clock.elapsed() > std::chrono::milliseconds(IPCMessageRecorder::kPatience).count())
                return false;
            QThread::msleep(10);
        }
        return true;
    }

    static QVariantList message(const QVariant &payload, const QString &type, const QString &from, const QString &to)
    {
        return {payload, type, from, to};
    }

    const QString mClient = MessageSendingModule::clientName(kMachine, QStringLiteral("alice"));
    const QString mMonitor = MessageSendingModule::monitorName(kMachine, QStringLiteral("alice"));
};

TEST_F(MessageSendingModuleTest, NamesFollowThePairOfTheMachineAndLogin)
{
    EXPECT_EQ(mClient, "TarnixPortableAMC02XYZalice");
    EXPECT_EQ(mMonitor, "TarnixPortableMAC02XYZalice");
}

TEST_F(MessageSendingModuleTest, AMessageArrivesAsFourItemsWithTheSendersNames)
{
    IPCMessageRecorder atMonitor;
    auto monitor = module(mMonitor, mClient, &atMonitor);
    auto client = module(mClient, mMonitor);
    const QVariantMap notification{{"SessionLogPath", "/logs/a b.txt"}, {"AccountType", "Business"}};
    client->sendIPCMessage(QStringLiteral("1"), 8, true);
    ASSERT_TRUE(atMonitor.waitForMessages(1));
    client->sendIPCMessage(notification, 1, false);
    ASSERT_TRUE(atMonitor.waitForMessages(2));
    EXPECT_EQ(atMonitor.messages(),
              (QVariantList{message("1", "8", mClient, mMonitor), message(notification, "1", mClient, mMonitor)}));
}

TEST_F(MessageSendingModuleTest, MessagesOnTheSenderThreadArriveInTheOrderSent)
{
    IPCMessageRecorder atMonitor;
    auto monitor = module(mMonitor, mClient, &atMonitor);
    auto client = module(mClient, mMonitor);
    for (int i = 0; i < 5; ++i)
        client->sendIPCMessage(QString::number(i), 2, false);
    ASSERT_TRUE(atMonitor.waitForMessages(5));
    QStringList payloads;
    for (const QVariant &received : atMonitor.messages())
        payloads << received.toList().first().toString();
    EXPECT_EQ(payloads, (QStringList{"0", "1", "2", "3", "4"}));
}

TEST_F(MessageSendingModuleTest, AGreetingToAProgramNotRunningIsLostAndTheNextSendReachesIt)
{
    auto client = module(mClient, mMonitor);
    client->sendIPCMessage(QString(), 3, false);
    ASSERT_TRUE(waitForTrace("message of type 3 lost: cannot reach " + mMonitor));
    IPCMessageRecorder atMonitor;
    auto monitor = module(mMonitor, mClient, &atMonitor);
    client->sendIPCMessage(QString(), 3, false);
    ASSERT_TRUE(atMonitor.waitForMessages(1));
    EXPECT_EQ(atMonitor.messages(), (QVariantList{message("", "3", mClient, mMonitor)}));
}

TEST_F(MessageSendingModuleTest, AfterTheOtherProgramRestartsTheFirstSendIsLostAndTheSecondArrives)
{
    IPCMessageRecorder beforeRestart;
    auto monitor = module(mMonitor, mClient, &beforeRestart);
    auto client = module(mClient, mMonitor);
    client->sendIPCMessage(QStringLiteral("before"), 2, false);
    ASSERT_TRUE(beforeRestart.waitForMessages(1));

    monitor.reset();
    IPCMessageRecorder afterRestart;
    monitor = module(mMonitor, mClient, &afterRestart);
    client->sendIPCMessage(QStringLiteral("first"), 2, false);
    client->sendIPCMessage(QStringLiteral("second"), 2, false);
    ASSERT_TRUE(afterRestart.waitForMessages(1));
    EXPECT_EQ(afterRestart.messages(), (QVariantList{message("second", "2", mClient, mMonitor)}));
    EXPECT_TRUE(traceText().contains("message of type 2 lost")) << qPrintable(traceText());
}

TEST_F(MessageSendingModuleTest, AHandlerSlowerThanTheReplyTimeoutMakesTheSenderDropItsConnection)
{
    IPCMessageRecorder atMonitor;
    atMonitor.setHandlingTime(3 * kShortTimeout);
    auto monitor = module(mMonitor, mClient, &atMonitor);
    RemoteMessageConnection toMonitor(kPatientTimeout, kShortTimeout);
    toMonitor.setTarget(mMonitor);
    const QByteArray greeting = IPCMessage::encode(message("", "3", mClient, mMonitor));
    QString error;
    EXPECT_FALSE(toMonitor.send(greeting, &error));
    EXPECT_EQ(error, "no answer in time");
    EXPECT_FALSE(toMonitor.isConnected());

    ASSERT_TRUE(atMonitor.waitForMessages(1));  // the slow handler did get it
    atMonitor.setHandlingTime(0ms);
    EXPECT_TRUE(toMonitor.send(greeting, &error)) << qPrintable(error);
    EXPECT_TRUE(toMonitor.isConnected());
}

TEST_F(MessageSendingModuleTest, TwoUsersPairsNeverReceiveEachOthersMessages)
{
    const QString bobClient = MessageSendingModule::clientName(kMachine, QStringLiteral("bob"));
    const QString bobMonitor = MessageSendingModule::monitorName(kMachine, QStringLiteral("bob"));
    IPCMessageRecorder aliceMonitorGot, bobMonitorGot;
    auto aliceMonitor = module(mMonitor, mClient, &aliceMonitorGot);
    auto bobMonitorModule = module(bobMonitor, bobClient, &bobMonitorGot);
    auto aliceClient = module(mClient, mMonitor);
    auto bobClientModule = module(bobClient, bobMonitor);
    aliceClient->sendIPCMessage(QStringLiteral("for alice"), 2, false);
    bobClientModule->sendIPCMessage(QStringLiteral("for bob"), 2, false);
    ASSERT_TRUE(aliceMonitorGot.waitForMessages(1));
    ASSERT_TRUE(bobMonitorGot.waitForMessages(1));
    aliceClient.reset();  // waits for its sends; none may still be under way
    bobClientModule.reset();
    EXPECT_EQ(aliceMonitorGot.messages(), (QVariantList{message("for alice", "2", mClient, mMonitor)}));
    EXPECT_EQ(bobMonitorGot.messages(), (QVariantList{message("for bob", "2", bobClient, bobMonitor)}));
}

TEST_F(MessageSendingModuleTest, MalformedMessagesAreRefusedWithATracedReasonAndListeningGoesOn)
{
    IPCMessageRecorder atMonitor;
    auto monitor = module(mMonitor, mClient, &atMonitor);
    const auto binary = [](const QVariant &value) { return PropertyList::toData(value, PropertyList::Format::Binary); };
    const QVariantList good = message("", "3", mClient, mMonitor);
    struct Case
    {
        QByteArray bytes;
        const char *reason;
    };
    const Case cases[] = {
        {"just some text", "it is not a binary property list"},
        {PropertyList::toData(good, PropertyList::Format::Xml), "it is not a binary property list"},
        {QByteArray("bplist00") + QByteArray(40, '\xff'), "it cannot be read"},
        {binary(QVariantMap{{"a", "b"}}), "it is not a list"},
        {binary(good.mid(0, 3)), "it holds 3 items instead of 4"},
        {binary(QVariantList{qint64(5), "3", mClient, mMonitor}), "its payload is neither a text nor a dictionary"},
        {binary(QVariantList{"", "3", mClient, QVariantList{}}), "its item 4 is not a text"},
        {binary(QVariantList{"rm -rf ~", "five", mClient, mMonitor}), "its type \"five\" is not a number"},
    };
    for (const Case &c : cases) {
        QString error;
        auto connection = LocalMessageConnection::open(mMonitor, kPatientTimeout, &error);
        ASSERT_TRUE(connection) << qPrintable(error);
        EXPECT_FALSE(connection->call(c.bytes, kPatientTimeout, kPatientTimeout, &error)) << c.reason;
        EXPECT_TRUE(waitForTrace(QStringLiteral("refused a message: ") + c.reason)) << c.reason;
    }
    auto client = module(mClient, mMonitor);
    client->sendIPCMessage(QString(), 3, false);
    ASSERT_TRUE(atMonitor.waitForMessages(1));
    EXPECT_EQ(atMonitor.messages(), (QVariantList{good}));
}

TEST_F(MessageSendingModuleTest, AHandlerThatThrowsIsTracedAndListeningGoesOn)
{
    struct ThrowingOnce : IPCMessageRecorder
    {
        std::atomic<bool> mThrow = true;
        void didReceiveIPCMessage(const QVariantList &message) override
        {
            if (mThrow.exchange(false))
                throw std::runtime_error("no such window");
            IPCMessageRecorder::didReceiveIPCMessage(message);
        }
    } atMonitor;
    auto monitor = module(mMonitor, mClient, &atMonitor);
    auto client = module(mClient, mMonitor);
    client->sendIPCMessage(QStringLiteral("first"), 2, false);
    client->sendIPCMessage(QStringLiteral("second"), 2, false);
    ASSERT_TRUE(atMonitor.waitForMessages(1));
    EXPECT_EQ(atMonitor.messages(), (QVariantList{message("second", "2", mClient, mMonitor)}));
    EXPECT_TRUE(traceText().contains("the handler of a message of type 2 failed: no such window"));
}

TEST_F(MessageSendingModuleTest, APayloadThatIsNeitherTextNorDictionarySendsNothing)
{
    IPCMessageRecorder atMonitor;
    auto monitor = module(mMonitor, mClient, &atMonitor);
    auto client = module(mClient, mMonitor);
    client->sendIPCMessage(QVariant(), 4, true);
    client->sendIPCMessage(QVariant(42), 4, true);
    EXPECT_TRUE(traceText().contains("nothing sent: the payload of a message of type 4")) << qPrintable(traceText());
    client->sendIPCMessage(QStringLiteral("Start"), 4, false);
    ASSERT_TRUE(atMonitor.waitForMessages(1));
    client.reset();
    EXPECT_EQ(atMonitor.messages(), (QVariantList{message("Start", "4", mClient, mMonitor)}));
}

TEST_F(MessageSendingModuleTest, ASecondModuleCannotListenUnderANameInUse)
{
    auto first = module(mClient, mMonitor);
    MessageSendingModule second;
    EXPECT_FALSE(second.setupConnection(mClient, mMonitor));
    EXPECT_TRUE(traceText().contains("cannot listen: the name " + mClient + " is served by a running program"))
        << qPrintable(traceText());
}

}  // namespace
