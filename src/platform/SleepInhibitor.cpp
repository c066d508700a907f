#include "platform/SleepInhibitor.h"

#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QtDebug>

#include <fcntl.h>
#include <unistd.h>

SleepInhibitor::SleepInhibitor(QString who, QDBusConnection bus)
    : mWho(std::move(who))
    , mBus(std::move(bus))
{}

bool SleepInhibitor::acquire(const QString &why)
{
    if (isHeld())
        return true;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << mWho << why << QStringLiteral("block");
    // A short wait: the backup must not stand still for a logind that does not answer.
    const QDBusMessage reply = mBus.isConnected() ? mBus.call(call, QDBus::Block, 1000) : QDBusMessage();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qInfo().noquote() << "sleep is not held off: logind did not answer" << reply.errorMessage();
        return false;
    }
    const auto descriptor = reply.arguments().first().value<QDBusUnixFileDescriptor>();
    // The reply's descriptor closes with the message: the lock keeps a copy of its own.
    mLock = descriptor.isValid() ? ::fcntl(descriptor.fileDescriptor(), F_DUPFD_CLOEXEC, 0) : -1;
    if (!isHeld())
        qInfo().noquote() << "sleep is not held off: logind gave no lock";
    return isHeld();
}

void SleepInhibitor::release()
{
    if (!isHeld())
        return;
    ::close(mLock);
    mLock = -1;
}
