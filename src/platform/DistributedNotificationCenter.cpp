#include "platform/DistributedNotificationCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QtDebug>

namespace {

const QString kPath = QStringLiteral("/com/velorant/DistributedNotifications");
const QString kInterface = QStringLiteral("com.velorant.DistributedNotifications");
const QString kMember = QStringLiteral("post");

}  // namespace

DistributedNotificationCenter::DistributedNotificationCenter(QObject *parent)
    : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    mConnected = bus.isConnected()
                 && bus.connect(QString(), kPath, kInterface, kMember, this,
                                SLOT(deliver(QString, QString, QVariantMap)));
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
    QDBusConnection::sessionBus().send(signal);
}

void DistributedNotificationCenter::deliver(const QString &name, const QString &object, const QVariantMap &userInfo)
{
    emit notificationReceived(name, object, userInfo);
}
