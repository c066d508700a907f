#include "txruvo/SharedSync.h"

#include <gtest/gtest.h>

#include <QSemaphore>

#include <atomic>
#include <cerrno>
#include <thread>
#include <vector>

namespace {

// Threads that ask while a sync runs wait for it, then share one more sync
// that starts after they asked; its outcome reaches each of them.
TEST(SharedSyncTest, ThreadsAskingDuringASyncShareTheNextOne)
{
    struct Case
    {
        const char *name;
        int secondResult;
    };
    for (const Case c : {Case{"succeeds", 0}, Case{"fails", -1}}) {
        QSemaphore firstStarted;
        QSemaphore releaseFirst;
        std::atomic_int calls = 0;
        SharedSync shared([&](int) {
            if (++calls == 1) {
                firstStarted.release();
                releaseFirst.acquire();
                return 0;
            }
            errno = EIO;
            return c.secondResult;
        });
        std::thread first([&] { EXPECT_EQ(shared.sync(3), 0) << c.name; });
        firstStarted.acquire();
        std::atomic_int waiting = 0;
        std::vector<std::thread> later;
        std::vector<int> results(3, 1);
        std::vector<int> errors(3, 0);
        for (int i = 0; i < 3; ++i) {
            later.emplace_back([&, i] {
                ++waiting;
                results[i] = shared.sync(3);
                errors[i] = errno;
            });
        }
        while (waiting < 3)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // all three are inside sync()
        releaseFirst.release();
        first.join();
        for (std::thread &thread : later)
            thread.join();
        EXPECT_EQ(calls, 2) << c.name;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(results[i], c.secondResult) << c.name;
            if (c.secondResult != 0) {
                EXPECT_EQ(errors[i], EIO) << c.name;
            }
        }
    }
}

}  // namespace
