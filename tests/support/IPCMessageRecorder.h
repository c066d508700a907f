#pragma once

#include "common/messaging/IPCMessageDelegate.h"

#include <QVariantList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// A messaging delegate that keeps every message it receives, optionally
// taking its time over each, so tests can wait for deliveries.
class IPCMessageRecorder : public IPCMessageDelegate
{
public:
    static constexpr std::chrono::seconds kPatience{5};

    void didReceiveIPCMessage(const QVariantList &message) override
    {
        std::this_thread::sleep_for(mHandlingTime.load());
        std::lock_guard lock(mMutex);
        mMessages.append(QVariant(message));
        mArrived.notify_all();
    }

    void setHandlingTime(std::chrono::milliseconds time) { mHandlingTime = time; }

    // True once at least count messages have arrived.
    bool waitForMessages(qsizetype count, std::chrono::milliseconds patience = kPatience)
    {
        std::unique_lock lock(mMutex);
        return mArrived.wait_for(lock, patience, [&] { return mMessages.size() >= count; });
    }

    QVariantList messages() const
    {
        std::lock_guard lock(mMutex);
        return mMessages;
    }

private:
    std::atomic<std::chrono::milliseconds> mHandlingTime{std::chrono::milliseconds(0)};
    mutable std::mutex mMutex;
    std::condition_variable mArrived;
    QVariantList mMessages;  // each a QVariantList of four items
};
