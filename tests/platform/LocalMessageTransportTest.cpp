#include "platform/LocalMessageConnection.h"
#include "platform/LocalMessageListener.h"
#include "platform/MessageEndpoints.h"
#include "platform/MessageFraming.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <condition_variable>
#include <mutex>
#include <thread>

#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>

using namespace std::chrono_literals;

namespace {

// Short where a timeout is what a test is about, patient elsewhere: the machine may be busy.
constexpr std::chrono::milliseconds kShortTimeout = 300ms;
constexpr std::chrono::milliseconds kPatience = 5s;

// What a listener received and logged, for the test thread to wait on.
class ListenerRecord
{
public:
    // Messages are taken unless the judge gives a reason.
    LocalMessageListener::Handlers handlers(std::function<QString(const QByteArray &)> judge = {})
    {
        return {
            [this, judge](const QByteArray &message) {
                const QString refusal = judge ? judge(message) : QString();
                if (refusal.isEmpty())
                    record(mMessages, message);
                return refusal;
            },
            [this](const QString &reason) { record(mLog, reason); },
        };
    }

    bool waitForMessages(qsizetype count)
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, kPatience, [&] { return mMessages.size() >= count; });
    }

    bool waitForLog(const QString &part)
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, kPatience, [&] {
            return std::any_of(mLog.begin(), mLog.end(), [&](const QString &line) { return line.contains(part); });
        });
    }

    QList<QByteArray> messages() const
    {
        std::lock_guard lock(mMutex);
        return mMessages;
    }
    QStringList log() const
    {
        std::lock_guard lock(mMutex);
        return mLog;
    }

private:
    template <typename List, typename Item>
    void record(List &list, const Item &item)
    {
        std::lock_guard lock(mMutex);
        list.append(item);
        mChanged.notify_all();
    }

    mutable std::mutex mMutex;
    std::condition_variable mChanged;
    QList<QByteArray> mMessages;
    QStringList mLog;
};

class LocalMessageTransportTest : public SandboxFixture
{
protected:
    static LocalMessageListener::Settings shortSettings() { return {kShortTimeout, kShortTimeout}; }

    std::unique_ptr<LocalMessageListener> listen(const QString &name,
                                                 const LocalMessageListener::Settings &settings = shortSettings(),
                                                 std::function<QString(const QByteArray &)> judge = {})
    {
        QString error;
        auto listener = LocalMessageListener::listen(name, settings, mRecord.handlers(std::move(judge)), &error);
        EXPECT_TRUE(listener) << qPrintable(error);
        return listener;
    }

    static bool sendOnce(const QString &name, const QByteArray &message, QString *error)
    {
        auto connection = LocalMessageConnection::open(name, kPatience, error);
        return connection && connection->call(message, kPatience, kPatience, error);
    }

    // A plain socket connected to the name, for peers that misbehave.
    static UniqueFd rawPeer(const QString &name)
    {
        QString error;
        const std::optional<QString> path = MessageEndpoints::socketPath(name, &error);
        UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        const sockaddr_un address = MessageEndpoints::socketAddress(path.value_or(QString()));
        EXPECT_EQ(::connect(fd.get(), reinterpret_cast<const sockaddr *>(&address), sizeof(address)), 0);
        return fd;
    }

    static void writeRaw(const UniqueFd &fd, const QByteArray &bytes)
    {
        ASSERT_EQ(::send(fd.get(), bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL), bytes.size());
    }

    // True when the listener closes the connection (end of file) within the patience.
    static bool closedByListener(const UniqueFd &fd)
    {
        pollfd entry{fd.get(), POLLIN, 0};
        char byte;
        return ::poll(&entry, 1, int(std::chrono::milliseconds(kPatience).count())) == 1 &&
               ::recv(fd.get(), &byte, 1, MSG_DONTWAIT) == 0;
    }

    static QString socketFile(const QString &name)
    {
        QString error;
        return MessageEndpoints::socketPath(name, &error).value_or(QString());
    }

    ListenerRecord mRecord;
};

TEST_F(LocalMessageTransportTest, DeliversMessagesOverOneConnectionAndAnswersEach)
{
    auto listener = listen(QStringLiteral("alpha"));
    QString error;
    auto connection = LocalMessageConnection::open(QStringLiteral("alpha"), kPatience, &error);
    ASSERT_TRUE(connection) << qPrintable(error);
    EXPECT_TRUE(connection->call("first", kPatience, kPatience, &error)) << qPrintable(error);
    EXPECT_TRUE(connection->call(QByteArray(), kPatience, kPatience, &error)) << qPrintable(error);
    EXPECT_TRUE(connection->call(QByteArray(100000, 'x'), kPatience, kPatience, &error)) << qPrintable(error);
    EXPECT_EQ(mRecord.messages(), (QList<QByteArray>{"first", QByteArray(), QByteArray(100000, 'x')}));
    EXPECT_TRUE(mRecord.log().isEmpty()) << qPrintable(mRecord.log().join('\n'));
}

TEST_F(LocalMessageTransportTest, EndpointsLiveInAPrivateFolderAndAreWithdrawnAtTheEnd)
{
    QDir().mkpath(MessageEndpoints::folder());
    QFile::setPermissions(MessageEndpoints::folder(), QFileDevice::Permissions(0x7755));  // too open: made private
    auto listener = listen(QStringLiteral("alpha"));
    struct stat info
    {};
    ASSERT_EQ(::stat(QFile::encodeName(MessageEndpoints::folder()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(QFileInfo(socketFile("alpha")).exists());
    listener.reset();
    EXPECT_FALSE(QFileInfo(socketFile("alpha")).exists());
    QString error;
    EXPECT_FALSE(sendOnce(QStringLiteral("alpha"), "late", &error));
    EXPECT_TRUE(error.contains("cannot reach alpha")) << qPrintable(error);
}

TEST_F(LocalMessageTransportTest, AnyNameBecomesAShortFileNameButFoldersOthersCanWriteAreRefused)
{
    QString error;
    EXPECT_FALSE(LocalMessageListener::listen(QString(), shortSettings(), mRecord.handlers(), &error));
    EXPECT_FALSE(error.isEmpty());
    // A 32-character login name, and names no file could carry, still make an endpoint.
    const QString machine = QStringLiteral("C02XK1ABJGH5");
    for (const QString &name : {QStringLiteral("TarnixPortableAM") + machine + QString(32, 'n'), QStringLiteral("a/b"),
                                QStringLiteral(".."), QString(500, QChar(0x00E9))}) {
        auto listener = listen(name);
        ASSERT_TRUE(listener) << qPrintable(name.left(40));
        EXPECT_TRUE(sendOnce(name, "hello", &error)) << qPrintable(error);
        EXPECT_EQ(QFileInfo(socketFile(name)).dir().absolutePath(), QDir(MessageEndpoints::folder()).absolutePath());
    }
    // A runtime root that others may write to could have its endpoints swapped.
    QFile::setPermissions(root() + "/runtime", QFileDevice::Permissions(0x7777));
    EXPECT_FALSE(MessageEndpoints::socketPath(QStringLiteral("alpha"), &error));
    EXPECT_TRUE(error.contains("may be written by other users")) << qPrintable(error);
}

TEST_F(LocalMessageTransportTest, WithoutASystemRuntimeFolderAHomeOfFortyCharactersStillCarriesMessages)
{
    // The fallback runtime root lies in the home's cache folder, so the home's length counts.
    QTemporaryDir base(QStringLiteral("/tmp/h-XXXXXX"));
    ASSERT_TRUE(base.isValid());
    const QString home = base.path() + '/' + QString(39 - base.path().size(), 'h');
    ASSERT_EQ(home.size(), 40);
    ASSERT_TRUE(QDir().mkpath(home));
    qputenv("HOME", home.toUtf8());
    qunsetenv("XDG_CACHE_HOME");
    qunsetenv("XDG_RUNTIME_DIR");
    const QString name = QStringLiteral("TarnixPortableMAC02XK1ABJGH5") + QString(32, 'n');
    auto listener = listen(name);
    ASSERT_TRUE(listener);
    QString error;
    EXPECT_TRUE(sendOnce(name, "hello", &error)) << qPrintable(error);
    EXPECT_TRUE(socketFile(name).startsWith(home + "/.cache/")) << qPrintable(socketFile(name));
}

TEST_F(LocalMessageTransportTest, ANameServedByARunningListenerCannotBeTaken)
{
    auto first = listen(QStringLiteral("alpha"));
    QString error;
    EXPECT_FALSE(LocalMessageListener::listen(QStringLiteral("alpha"), shortSettings(), mRecord.handlers(), &error));
    EXPECT_TRUE(error.contains("served by a running program")) << qPrintable(error);
    EXPECT_TRUE(sendOnce(QStringLiteral("alpha"), "still served", &error)) << qPrintable(error);
    first.reset();
    EXPECT_TRUE(listen(QStringLiteral("alpha")));
}

TEST_F(LocalMessageTransportTest, ASocketFileLeftByAProgramThatEndedIsReplaced)
{
    QString error;
    const QString path = MessageEndpoints::socketPath(QStringLiteral("alpha"), &error).value();
    {
        // Bound and closed without removing the file, as after a crash.
        UniqueFd crashed(::socket(AF_UNIX, SOCK_STREAM, 0));
        const sockaddr_un address = MessageEndpoints::socketAddress(path);
        ASSERT_EQ(::bind(crashed.get(), reinterpret_cast<const sockaddr *>(&address), sizeof(address)), 0);
    }
    ASSERT_TRUE(QFileInfo::exists(path));
    auto listener = listen(QStringLiteral("alpha"));
    ASSERT_TRUE(listener);
    EXPECT_TRUE(sendOnce(QStringLiteral("alpha"), "after the crash", &error)) << qPrintable(error);

    // Anything else in the socket's place is not ours to remove.
    writeText(socketFile(QStringLiteral("beta")), "not a socket");
    EXPECT_FALSE(LocalMessageListener::listen(QStringLiteral("beta"), shortSettings(), mRecord.handlers(), &error));
    EXPECT_TRUE(error.contains("is not a socket")) << qPrintable(error);
}

TEST_F(LocalMessageTransportTest, MisbehavingPeersAreClosedWithAReasonAndOthersStillServed)
{
    auto listener = listen(QStringLiteral("alpha"), shortSettings(), [](const QByteArray &message) {
        return message == "poison" ? QStringLiteral("it is poison") : QString();
    });
    const UniqueFd silent = rawPeer(QStringLiteral("alpha"));

    struct Case
    {
        const char *what;
        QByteArray bytes;
        const char *logged;
    };
    const Case cases[] = {
        {"oversized", MessageFraming::frame({}).replace(0, 4, QByteArray::fromHex("00100001")),
         "refused a message of 1048577 bytes"},
        {"refused by its handler", MessageFraming::frame("poison"), "refused a message: it is poison"},
        {"stalled in the middle", MessageFraming::frame("half a message").left(9), "not complete within 0.3 s"},
    };
    for (const Case &c : cases) {
        const UniqueFd peer = rawPeer(QStringLiteral("alpha"));
        writeRaw(peer, c.bytes);
        EXPECT_TRUE(mRecord.waitForLog(c.logged)) << c.what << ": " << qPrintable(mRecord.log().join('\n'));
        EXPECT_TRUE(closedByListener(peer)) << c.what;
        QString error;
        EXPECT_TRUE(sendOnce(QStringLiteral("alpha"), c.what, &error)) << c.what << ": " << qPrintable(error);
    }
    EXPECT_EQ(mRecord.messages().size(), 3);
    // The peer that never wrote is neither served nor thrown out.
    pollfd entry{silent.get(), POLLIN, 0};
    EXPECT_EQ(::poll(&entry, 1, 0), 0);
}

TEST_F(LocalMessageTransportTest, APeerOfAnotherUserIsRefusedBeforeItsMessageIsRead)
{
    LocalMessageListener::Settings settings = shortSettings();
    settings.acceptedUser = ::geteuid() + 1;
    auto listener = listen(QStringLiteral("alpha"), settings);
    QString error;
    EXPECT_FALSE(sendOnce(QStringLiteral("alpha"), "from a stranger", &error));
    EXPECT_TRUE(mRecord.waitForLog(QStringLiteral("refused a connection from user %1").arg(::geteuid())));
    EXPECT_TRUE(mRecord.messages().isEmpty());
}

TEST_F(LocalMessageTransportTest, AHandlerSlowerThanTheReplyTimeoutFailsTheCall)
{
    std::atomic<bool> slow = true;
    auto listener = listen(QStringLiteral("alpha"), shortSettings(), [&](const QByteArray &) {
        if (slow.exchange(false))
            std::this_thread::sleep_for(3 * kShortTimeout);
        return QString();
    });
    QString error;
    auto connection = LocalMessageConnection::open(QStringLiteral("alpha"), kPatience, &error);
    ASSERT_TRUE(connection);
    EXPECT_FALSE(connection->call("slow", kPatience, kShortTimeout, &error));
    EXPECT_EQ(error, "no answer in time");
    // Its answer goes to a sender that has gone; the listener carries on.
    connection.reset();
    EXPECT_TRUE(mRecord.waitForLog("could not answer a message"));
    EXPECT_TRUE(sendOnce(QStringLiteral("alpha"), "quick", &error)) << qPrintable(error);
}

TEST_F(LocalMessageTransportTest, ThousandsOfIdlePeersNeverExhaustTheListenersDescriptors)
{
    // With room for the test's own 2,000 peers but not for the listener to hold them all too.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    if (saved.rlim_max < 2300)
        GTEST_SKIP() << "the hard descriptor limit is below 2,300";
    rlimit tight = saved;
    tight.rlim_cur = 2300;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);

    auto listener = listen(QStringLiteral("alpha"));
    std::vector<UniqueFd> idle;
    for (int i = 0; i < 2000; ++i)
        idle.push_back(rawPeer(QStringLiteral("alpha")));
    QString error;
    EXPECT_TRUE(sendOnce(QStringLiteral("alpha"), "still served", &error)) << qPrintable(error);
    EXPECT_TRUE(mRecord.waitForMessages(1));
    EXPECT_TRUE(mRecord.waitForLog("idle longest"));
    // The oldest idle peers were let go.
    EXPECT_TRUE(closedByListener(idle.front()));
    idle.clear();
    ::setrlimit(RLIMIT_NOFILE, &saved);
}

TEST_F(LocalMessageTransportTest, APeerThatNeverReadsItsAnswersHoldsNobodyUp)
{
    auto listener = listen(QStringLiteral("alpha"));
    const UniqueFd deaf = rawPeer(QStringLiteral("alpha"));
    // Far more answers than a socket buffer takes; the peer reads none of them.
    std::thread flood([&] {
        const QByteArray frames = MessageFraming::frame({}).repeated(40000);
        ::send(deaf.get(), frames.constData(), size_t(frames.size()), MSG_NOSIGNAL);
    });
    QString error;
    EXPECT_TRUE(sendOnce(QStringLiteral("alpha"), "served in time", &error)) << qPrintable(error);
    flood.join();
    EXPECT_TRUE(mRecord.waitForLog("does not read its answers"));
    EXPECT_TRUE(sendOnce(QStringLiteral("alpha"), "and after", &error)) << qPrintable(error);
}

TEST_F(LocalMessageTransportTest, AFloodOfBadFramesIsTracedAtABoundedRate)
{
    auto listener = listen(QStringLiteral("alpha"), shortSettings(),
                           [](const QByteArray &) { return QStringLiteral("always refused"); });
    for (int i = 0; i < 200; ++i) {
        const UniqueFd peer = rawPeer(QStringLiteral("alpha"));
        writeRaw(peer, MessageFraming::frame("bad"));
        closedByListener(peer);
    }
    const QStringList log = mRecord.log();
    EXPECT_GE(log.size(), 1);
    EXPECT_LE(log.size(), 21) << qPrintable(log.join('\n'));
}

}  // namespace
