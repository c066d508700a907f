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
// between messages is kept, as senders keep theirs open.
class LocalMessageListener
{
public:
    struct Settings {
        std::chrono::milliseconds requestTimeout;  // to complete a message once it has begun
        std::chrono::milliseconds replyTimeout;    // to hand the answer over
        uid_t acceptedUser = ::geteuid();
    };
    struct Handlers {
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
    struct Peer {
        UniqueFd fd;
        QByteArray pending;  // bytes of the message being received
        std::optional<MessageFraming::Clock::time_point> deadline;  // while a message is incomplete
    };

    LocalMessageListener(QString socketPath, const Settings &settings, Handlers handlers, UniqueFd lock,
                         UniqueFd socket, UniqueFd wake);

    void run();
    int pollTimeout() const;
    void acceptPeers();
    bool readFrom(Peer &peer);
    bool deliverCompleteMessages(Peer &peer);
    void closeLatePeers();

    const QString mSocketPath;
    const Settings mSettings;
    const Handlers mHandlers;
    UniqueFd mLock;
    UniqueFd mSocket;
    UniqueFd mWake;
    std::vector<Peer> mPeers;  // used on the listening thread only
    std::thread mThread;
};
