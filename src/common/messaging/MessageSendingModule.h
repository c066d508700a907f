#pragma once

#include "common/messaging/MessageSendingProtocol.h"
#include "common/messaging/RemoteMessageConnection.h"
#include "common/utility/Guarded.h"

#include <QString>
#include <QThreadPool>
#include <QVariant>

#include <atomic>
#include <chrono>
#include <memory>

class IPCMessageDelegate;
class LocalMessageListener;

// Carries typed messages between the client and the monitor of one user.
// Each process owns one module: it listens under a name of its own and sends
// to the name of the other process. Incoming messages reach the delegate on
// the listening thread. Sends are fire-and-forget: a failed send is traced
// and lost, and the next send connects again.
class MessageSendingModule : public MessageSendingProtocol
{
public:
    static constexpr std::chrono::milliseconds kRequestTimeout{3000};
    static constexpr std::chrono::milliseconds kReplyTimeout{3000};

    // The two names of a user's pair: machine serial number, then login name.
    static QString clientName(const QString &machineID, const QString &loginName);   // "TarnixPortableAM%@%@"
    static QString monitorName(const QString &machineID, const QString &loginName);  // "TarnixPortableMA%@%@"
    // The login name of this process's user, as both names carry it.
    static QString loginName();

    explicit MessageSendingModule(std::chrono::milliseconds requestTimeout = kRequestTimeout,
                                  std::chrono::milliseconds replyTimeout = kReplyTimeout);
    // Stops listening (withdrawing the own name), drops queued sends and
    // waits for the sends under way.
    ~MessageSendingModule() override;

    MessageSendingModule(const MessageSendingModule &) = delete;
    MessageSendingModule &operator=(const MessageSendingModule &) = delete;

    // Stores both names and starts listening under the own one; false (and a
    // trace line) when the name cannot be served, for example because a
    // running program serves it already.
    bool setupConnection(const QString &localName, const QString &remoteName);

    void setDelegate(IPCMessageDelegate *delegate);  // not owned
    IPCMessageDelegate *delegate() const;

    // Sends [payload, type, own name, other's name] without waiting: on a new
    // thread and connection for this one message, or queued on the module's
    // sender thread and its connection.
    // A payload that is neither a text nor a dictionary sends nothing.
    void sendIPCMessage(const QVariant &payload, int type, bool runInThread);

    void didReceiveDataFromOtherProcess(const QVariantList &message) override;

    // Leaves the registration in place: the name is withdrawn when the module
    // ends, which callers do right after.
    void closeIPCConnection() {}

    QString getLocalHost() const;
    void setLocalHost(const QString &name);
    QString getRemoteHost() const;
    void setRemoteHost(const QString &name);

private:
    QString receive(const QByteArray &bytes);
    // A message sent on a thread of its own also travels on a connection of its own.
    void sendMessageInternal(const QVariantList &message, bool alone);
    void trace(const QString &text) const;

    const std::chrono::milliseconds mRequestTimeout;
    const std::chrono::milliseconds mReplyTimeout;
    Guarded<QString> mLocalhost;
    std::atomic<IPCMessageDelegate *> mDelegate{nullptr};
    RemoteMessageConnection mRemoteConnection;
    QThreadPool mSenderThread;    // one thread: sends queue behind each other
    QThreadPool mMessageThreads;  // a thread of its own for each message
    std::unique_ptr<LocalMessageListener> mLocalConnection;
};
