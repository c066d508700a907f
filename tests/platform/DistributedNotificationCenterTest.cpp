#include "platform/DistributedNotificationCenter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QUuid>

#include <gtest/gtest.h>

// Two centers stand for two programs of the user: each gets what either posts.
TEST(DistributedNotificationCenterTest, EveryCenterReceivesEveryNotificationThePostersOwnIncluded)
{
    DistributedNotificationCenter monitor;
    DistributedNotificationCenter client;
    ASSERT_TRUE(client.isConnected());
    // Other test programs share the session bus: only this test's own names count.
    const QString own = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QList<QVariantList> atMonitor;
    QList<QVariantList> atClient;
    auto recorder = [&own](QList<QVariantList> &list) {
        return [&list, &own](const QString &name, const QString &object, const QVariantMap &userInfo) {
            if (name.endsWith(own))
                list.append({name.chopped(own.size()), object, userInfo});
        };
    };
    QObject::connect(&monitor, &DistributedNotificationCenter::notificationReceived, &monitor, recorder(atMonitor));
    QObject::connect(&client, &DistributedNotificationCenter::notificationReceived, &client, recorder(atClient));

    client.postNotificationName(QStringLiteral("Exclude") + own, QStringLiteral("Add"),
                                {{"add", QStringList{"/a", "/b c"}}});
    client.postNotificationName(QStringLiteral("Changed") + own);
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
