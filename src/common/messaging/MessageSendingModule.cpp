#include "common/messaging/MessageSendingModule.h"

#include "common/logging/QLBackupProgressLogger.h"
#include "common/messaging/IPCMessage.h"
#include "common/messaging/IPCMessageDelegate.h"
#include "platform/LocalMessageListener.h"
#include "platform/MessageFraming.h"
#include "platform/PathTemplate.h"

#include <QDir>

#include <exception>

namespace {

// Enough threads that a message sent on a thread of its own starts at once,
// whatever else is being sent.
constexpr int kMaxMessageThreads = 64;

}  // namespace

QString MessageSendingModule::clientName(const QString &machineID, const QString &loginName)
{
    return PathTemplate::fillTemplate(QStringLiteral("TarnixPortableAM%@%@"), {machineID, loginName});
}

QString MessageSendingModule::monitorName(const QString &machineID, const QString &loginName)
{
    return PathTemplate::fillTemplate(QStringLiteral("TarnixPortableMA%@%@"), {machineID, loginName});
}

QString MessageSendingModule::loginName()
{
    const QString name = qEnvironmentVariable("USER");
    return name.isEmpty() ? QDir::home().dirName() : name;
}

MessageSendingModule::MessageSendingModule(std::chrono::milliseconds requestTimeout,
                                           std::chrono::milliseconds replyTimeout)
    : mRequestTimeout(requestTimeout)
    , mReplyTimeout(replyTimeout)
    , mRemoteConnection(requestTimeout, replyTimeout)
{
    mSenderThread.setMaxThreadCount(1);
    mSenderThread.setExpiryTimeout(-1);
    mMessageThreads.setMaxThreadCount(kMaxMessageThreads);
}

MessageSendingModule::~MessageSendingModule()
{
    mSenderThread.clear();
    mSenderThread.waitForDone();
    mMessageThreads.waitForDone();
    mLocalConnection.reset();
}

bool MessageSendingModule::setupConnection(const QString &localName, const QString &remoteName)
{
    MessageFraming::ignoreBrokenPipeSignal();
    setLocalHost(localName);
    setRemoteHost(remoteName);
    mLocalConnection.reset();
    const LocalMessageListener::Settings settings{mRequestTimeout, mReplyTimeout};
    LocalMessageListener::Handlers handlers{
        [this](const QByteArray &bytes) { return receive(bytes); },
        [this](const QString &reason) { trace(reason); },
    };
    QString error;
    mLocalConnection = LocalMessageListener::listen(localName, settings, std::move(handlers), &error);
    if (!mLocalConnection)
        trace(QStringLiteral("cannot listen: %1").arg(error));
    return mLocalConnection != nullptr;
}

void MessageSendingModule::setDelegate(IPCMessageDelegate *delegate) { mDelegate = delegate; }

IPCMessageDelegate *MessageSendingModule::delegate() const { return mDelegate; }

void MessageSendingModule::sendIPCMessage(const QVariant &payload, int type, bool runInThread)
{
    const std::optional<QVariantList> message = IPCMessage::build(payload, type, getLocalHost(), getRemoteHost());
    if (!message) {
        trace(QStringLiteral("nothing sent: the payload of a message of type %1 is neither a text nor a dictionary")
                  .arg(type));
        return;
    }
    if (runInThread)
        mMessageThreads.start([this, message = *message] { sendMessageInternal(message, true); });
    else
        mSenderThread.start([this, message = *message] { sendMessageInternal(message, false); });
}

void MessageSendingModule::didReceiveDataFromOtherProcess(const QVariantList &message)
{
    if (IPCMessageDelegate *delegate = mDelegate)
        delegate->didReceiveIPCMessage(message);
}

QString MessageSendingModule::getLocalHost() const { return mLocalhost.get(); }

void MessageSendingModule::setLocalHost(const QString &name) { mLocalhost.set(name); }

QString MessageSendingModule::getRemoteHost() const { return mRemoteConnection.target(); }

void MessageSendingModule::setRemoteHost(const QString &name) { mRemoteConnection.setTarget(name); }

QString MessageSendingModule::receive(const QByteArray &bytes)
{
    QString reason;
    const std::optional<QVariantList> message = IPCMessage::decode(bytes, &reason);
    if (!message)
        return reason;
    // A failing handler must not take the listening thread down with it.
    try {
        didReceiveDataFromOtherProcess(*message);
    } catch (const std::exception &error) {
        trace(QStringLiteral("the handler of a message of type %1 failed: %2")
                  .arg(message->value(1).toString(), QString::fromLocal8Bit(error.what())));
    } catch (...) {
        trace(QStringLiteral("the handler of a message of type %1 failed").arg(message->value(1).toString()));
    }
    return {};
}

void MessageSendingModule::sendMessageInternal(const QVariantList &message, bool alone)
{
    QString error;
    const QByteArray bytes = IPCMessage::encode(message);
    const bool sent = alone ? mRemoteConnection.sendAlone(bytes, &error) : mRemoteConnection.send(bytes, &error);
    if (!sent)
        trace(QStringLiteral("message of type %1 lost: %2").arg(message.value(1).toString(), error));
}

void MessageSendingModule::trace(const QString &text) const
{
    QLBackupProgressLogger::progressLogger().logInteractiveTrace(
        QStringLiteral("Messaging %1: %2").arg(getLocalHost(), text), true);
}
