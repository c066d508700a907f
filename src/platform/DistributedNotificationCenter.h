#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

// Notifications between the programs of this user (the client and the monitor),
// sent as signals on the session bus. Every center of every program of the user
// receives every notification, the poster's own included. A notification has a
// name, an object (empty for none) and user info (empty for none).
class DistributedNotificationCenter : public QObject
{
    Q_OBJECT

public:
    explicit DistributedNotificationCenter(QObject *parent = nullptr);

    // False when there is no session bus to post on or listen to.
    bool isConnected() const { return mConnected; }
    void postNotificationName(const QString &name, const QString &object = {}, const QVariantMap &userInfo = {});

signals:
    void notificationReceived(const QString &name, const QString &object, const QVariantMap &userInfo);

private slots:
    void deliver(const QString &name, const QString &object, const QVariantMap &userInfo);

private:
    bool mConnected = false;
};
