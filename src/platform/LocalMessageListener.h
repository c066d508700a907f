#pragma once

#include "platform/MessageFraming.h"
#include "platform/UniqueFd.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include <unistd.h>

// Serves one named message endpoint on a thread of its own. Only processes of
// the accepted user may connect (checked on the socket); each complete message
// goes to the receive handler on the listening thread, and the sender gets the
// empty answer once the handler has returned. A connection that announces too
// large a message, sends one its handler refuses, or stops in the middle of a
// message for longer than the request timeout is closed with a logged reason;
// the listener keeps serving everyone else. A connection that stays silent
// between messages is kept for a while, as senders keep theirs open, but not
// for ever; and when too many are open the one idle longest makes room.
// Answers never hold the listener up: a peer that does not read them has them
// queued, and is closed when too many wait. Refusals are traced at a bounded
// rate, so a flood of bad frames cannot fill the trace.
class LocalMessageListener
{
public:
    struct Settings
    {
        std::chrono::milliseconds requestTimeout;  // to complete a message once it has begun
        std::chrono::milliseconds replyTimeout;    // unused by the listener: answers never block it
        uid_t acceptedUser = ::geteuid();
        std::chrono::milliseconds idleTimeout{std::chrono::minutes(10)};  // a silent connection is closed after
        std::size_t maxPeers = 64;                                        // connections served at once
    };
    struct Handlers
    {
        // Returns "" when the message is taken, otherwise why it is refused.
        std::function<QString(const QByteArray &message)> receive;
        // Why a connection or a message was refused, for the trace.
        std::function<void(const QString &reason)> log;
    };

    // Takes the name and starts listening. None, with the reason, when the
    // name is served by a running listener or the endpoint cannot be made. A
    // socket file left behind by a program that ended is replaced.
    static std::unique_ptr<LocalMessageListener> listen(const QString &name, const Settings &settings,
                                                        Handlers handlers, QString *error);

    // Stops the thread, closes every connection and withdraws the name.
    ~LocalMessageListener();

    LocalMessageListener(const LocalMessageListener &) = delete;
    LocalMessageListener &operator=(const LocalMessageListener &) = delete;

private:
    struct Peer
    {
        UniqueFd fd;
        QByteArray pending;                                         // bytes of the message being received
        QByteArray outgoing;                                        // answers the peer has not taken yet
        std::optional<MessageFraming::Clock::time_point> deadline;  // while a message is incomplete
        MessageFraming::Clock::time_point lastActivity;
    };

    // At most a burst of lines per window reach the trace; the rest are counted.
    class ThrottledLog
    {
    public:
        explicit ThrottledLog(std::function<void(const QString &)> log)
            : mLog(std::move(log))
        {}
        void operator()(const QString &line);

    private:
        std::function<void(const QString &)> mLog;
        MessageFraming::Clock::time_point mWindowStart;
        int mLinesInWindow = 0;
        int mSuppressed = 0;
    };

    LocalMessageListener(QString socketPath, const Settings &settings, Handlers handlers, UniqueFd lock,
                         UniqueFd socket, UniqueFd wake);

    void run();
    int pollTimeout() const;
    void acceptPeers();
    bool readFrom(Peer &peer);
    bool deliverCompleteMessages(Peer &peer);
    bool flushAnswers(Peer &peer);
    void closeLatePeers();
    void makeRoomForOnePeer();
    static std::optional<MessageFraming::Clock::time_point> nextDeadline(const Peer &peer,
                                                                         std::chrono::milliseconds idleTimeout);

    const QString mSocketPath;
    const Settings mSettings;
    const Handlers mHandlers;
    ThrottledLog mLog;
    UniqueFd mLock;
    UniqueFd mSocket;
    UniqueFd mWake;
    std::vector<Peer> mPeers;  // used on the listening thread only
    std::thread mThread;
};
