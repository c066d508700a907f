#include "common/messaging/RemoteMessageConnection.h"

#include "platform/LocalMessageConnection.h"

RemoteMessageConnection::RemoteMessageConnection(std::chrono::milliseconds requestTimeout,
                                                 std::chrono::milliseconds replyTimeout)
    : mRequestTimeout(requestTimeout)
    , mReplyTimeout(replyTimeout)
{}

RemoteMessageConnection::~RemoteMessageConnection() = default;

QString RemoteMessageConnection::target() const
{
    std::lock_guard lock(mSendLock);
    return mTarget;
}

void RemoteMessageConnection::setTarget(const QString &name)
{
    std::lock_guard lock(mSendLock);
    if (name != mTarget)
        mConnection.reset();
    mTarget = name;
}

bool RemoteMessageConnection::send(const QByteArray &message, QString *error)
{
    std::lock_guard lock(mSendLock);
    if (!mConnection)
        mConnection = LocalMessageConnection::open(mTarget, mRequestTimeout, error);
    if (!mConnection)
        return false;
    if (mConnection->call(message, mRequestTimeout, mReplyTimeout, error))
        return true;
    mConnection.reset();
    return false;
}

bool RemoteMessageConnection::sendAlone(const QByteArray &message, QString *error) const
{
    const auto connection = LocalMessageConnection::open(target(), mRequestTimeout, error);
    return connection && connection->call(message, mRequestTimeout, mReplyTimeout, error);
}

bool RemoteMessageConnection::isConnected() const
{
    std::lock_guard lock(mSendLock);
    return mConnection != nullptr;
}
