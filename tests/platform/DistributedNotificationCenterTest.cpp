#include "platform/DistributedNotificationCenter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

// Two centers stand for two programs of the user: each gets what either posts.
TEST(DistributedNotificationCenterTest, EveryCenterReceivesEveryNotificationThePostersOwnIncluded)
{
    DistributedNotificationCenter monitor;
    DistributedNotificationCenter client;
    ASSERT_TRUE(client.isConnected());
    QList<QVariantList> atMonitor;
    QList<QVariantList> atClient;
    QObject::connect(&monitor, &DistributedNotificationCenter::notificationReceived, &monitor,
                     [&](const QString &name, const QString &object, const QVariantMap &userInfo) {
                         atMonitor.append({name, object, userInfo});
                     });
    QObject::connect(&client, &DistributedNotificationCenter::notificationReceived, &client,
                     [&](const QString &name, const QString &object, const QVariantMap &userInfo) {
                         atClient.append({name, object, userInfo});
                     });

    client.postNotificationName(QStringLiteral("Exclude"), QStringLiteral("Add"),
                                {{"add", QStringList{"/a", "/b c"}}});
    client.postNotificationName(QStringLiteral("Changed"));
    QDeadlineTimer deadline(5000);
    while ((atMonitor.size() < 2 || atClient.size() < 2) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);

    const QList<QVariantList> expected{
        {"Exclude", "Add", QVariantMap{{"add", QStringList{"/a", "/b c"}}}},
        {"Changed", "", QVariantMap()},
    };
    EXPECT_EQ(atMonitor, expected);
    EXPECT_EQ(atClient, expected);
}
