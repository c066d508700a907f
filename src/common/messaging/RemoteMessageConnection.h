#pragma once

#include <QString>

#include <chrono>
#include <memory>
#include <mutex>

class LocalMessageConnection;

// The sending side of a messaging module: one connection to the other
// process's name, made at the first send and made again at the send after a
// failure. Sends run one at a time, connecting included.
class RemoteMessageConnection
{
public:
    RemoteMessageConnection(std::chrono::milliseconds requestTimeout, std::chrono::milliseconds replyTimeout);
    ~RemoteMessageConnection();

    QString target() const;
    // A new name drops the connection to the old one.
    void setTarget(const QString &name);

    // Sends the encoded message and waits for the other side's handler. On
    // failure the connection is dropped and the message is lost; the reason
    // is given.
    bool send(const QByteArray &message, QString *error);
    // The same on a connection of its own, made and closed for this message:
    // it never waits for a send under way on the shared connection.
    bool sendAlone(const QByteArray &message, QString *error) const;

    bool isConnected() const;

private:
    const std::chrono::milliseconds mRequestTimeout;
    const std::chrono::milliseconds mReplyTimeout;
    mutable std::mutex mSendLock;
    QString mTarget;
    std::unique_ptr<LocalMessageConnection> mConnection;
};
