#include "platform/DistributedNotificationCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QtDebug>

namespace {

const QString kPath = QStringLiteral("/com/velorant/DistributedNotifications");
const QString kInterface = QStringLiteral("com.velorant.DistributedNotifications");
const QString kMember = QStringLiteral("post");
const QString kConnectionName = QStringLiteral("tarnixvidezud-notifications");

// A connection of our own, shared by the program's centers. Qt's default
// session-bus connection, opened on the main thread, holds back what arrives
// until the event loop first runs, and then may deliver a notification that
// came later ahead of those held back; a named connection delivers from the
// start, in the order the bus sent.
QDBusConnection sessionBus() { return QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnectionName); }

}  // namespace

DistributedNotificationCenter::DistributedNotificationCenter(QObject *parent)
    : QObject(parent)
{
    QDBusConnection bus = sessionBus();
    mConnected = bus.isConnected() &&
                 bus.connect(QString(), kPath, kInterface, kMember, this, SLOT(deliver(QString, QString, QVariantMap)));
    if (!mConnected)
        qWarning().noquote() << "no session bus: notifications between programs are off";
}

void DistributedNotificationCenter::postNotificationName(const QString &name, const QString &object,
                                                         const QVariantMap &userInfo)
{
    if (!mConnected)
        return;
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface, kMember);
    signal << name << object << userInfo;
    sessionBus().send(signal);
}

void DistributedNotificationCenter::deliver(const QString &name, const QString &object, const QVariantMap &userInfo)
{
    emit notificationReceived(name, object, userInfo);
}
