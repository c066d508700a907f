#include "platform/SleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QStringList>

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

namespace {

// logind's inhibitor call as the test bus offers it: it records the call and hands out
// the writing end of a pipe, whose reading end tells whether any copy is still open.
class FakeLogind : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    FakeLogind()
    {
        int ends[2];
        if (::pipe(ends) == 0) {
            mReadEnd = ends[0];
            mWriteEnd = ends[1];
        }
    }
    ~FakeLogind() override
    {
        ::close(mReadEnd);
        if (mWriteEnd >= 0)
            ::close(mWriteEnd);
    }

    // Every copy of the handed-out end was closed.
    bool lockReleased() const
    {
        pollfd watch{mReadEnd, POLLIN, 0};
        return ::poll(&watch, 1, 100) == 1 && (watch.revents & POLLHUP);
    }

    QStringList calls;

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString &what, const QString &who, const QString &why, const QString &mode)
    {
        calls.append(QStringList{what, who, why, mode}.join('|'));
        const QDBusUnixFileDescriptor lock(mWriteEnd);  // a copy travels with the reply
        ::close(std::exchange(mWriteEnd, -1));
        return lock;
    }

private:
    int mReadEnd = -1;
    int mWriteEnd = -1;
};

}  // namespace

TEST(SleepInhibitorTest, TheLockIsHeldWhileTheWorkRunsAndReleasedAfter)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected());
    FakeLogind logind;
    ASSERT_TRUE(bus.registerService("org.freedesktop.login1"));
    ASSERT_TRUE(bus.registerObject("/org/freedesktop/login1", &logind, QDBusConnection::ExportAllSlots));

    {
        SleepInhibitor inhibitor("TarnixVidezud", bus);
        ASSERT_TRUE(inhibitor.acquire("A backup is running"));
        EXPECT_TRUE(inhibitor.acquire("again"));  // held already: no second lock
        EXPECT_EQ(logind.calls, QStringList{"sleep:idle|TarnixVidezud|A backup is running|block"});
        EXPECT_FALSE(logind.lockReleased());
        inhibitor.release();
        EXPECT_FALSE(inhibitor.isHeld());
        EXPECT_TRUE(logind.lockReleased());
    }
    bus.unregisterObject("/org/freedesktop/login1");
    bus.unregisterService("org.freedesktop.login1");
}

TEST(SleepInhibitorTest, WithoutLogindTheWorkGoesOnWithoutALock)
{
    SleepInhibitor noBus("TarnixVidezud", QDBusConnection(QStringLiteral("not connected")));
    EXPECT_FALSE(noBus.acquire("A backup is running"));
    EXPECT_FALSE(noBus.isHeld());
    SleepInhibitor noService("TarnixVidezud", QDBusConnection::sessionBus());  // no logind on the test bus
    EXPECT_FALSE(noService.acquire("A backup is running"));
}

#include "SleepInhibitorTest.moc"
