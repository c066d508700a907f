#include "platform/DistributedNotificationCenter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QUuid>

#include <gtest/gtest.h>

// Two centers stand for two programs of the user: each gets what either posts,
// in the order it was posted. The posts follow at once on the centers' making,
// while the program's event loop has not run yet: the first ones reach the
// program before it delivers anything, and must still come first.
TEST(DistributedNotificationCenterTest, EveryCenterReceivesEveryNotificationInOrderThePostersOwnIncluded)
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

    QList<QVariantList> expected{{"Exclude", "Add", QVariantMap{{"add", QStringList{"/a", "/b c"}}}}};
    client.postNotificationName(QStringLiteral("Exclude") + own, QStringLiteral("Add"),
                                {{"add", QStringList{"/a", "/b c"}}});
    // A burst, so that the program starts delivering while some are still on their way.
    for (int i = 0; i < 200; ++i) {
        const QString name = QStringLiteral("Changed%1").arg(i);
        client.postNotificationName(name + own);
        expected.append({name, "", QVariantMap()});
    }
    QDeadlineTimer deadline(10000);
    while ((atMonitor.size() < expected.size() || atClient.size() < expected.size()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);

    EXPECT_EQ(atMonitor, expected);
    EXPECT_EQ(atClient, expected);
}
