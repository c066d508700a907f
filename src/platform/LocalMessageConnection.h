#pragma once

#include "platform/UniqueFd.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <memory>

// A sender's connection to a named message endpoint of the same user. One
// call sends one message and waits until the other side's handler has
// returned. After a failed call the connection is of no further use.
class LocalMessageConnection
{
public:
    // Connects within the request timeout. None, with the reason, when nobody
    // listens under the name or the listener belongs to another user.
    static std::unique_ptr<LocalMessageConnection> open(const QString &name, std::chrono::milliseconds requestTimeout,
                                                        QString *error);

    // Hands the message over within the request timeout and waits for the
    // answer within the reply timeout.
    bool call(const QByteArray &message, std::chrono::milliseconds requestTimeout,
              std::chrono::milliseconds replyTimeout, QString *error);

private:
    explicit LocalMessageConnection(UniqueFd socket)
        : mSocket(std::move(socket))
    {}

    UniqueFd mSocket;
};
