#include "client/backup/localtree/SerialWorker.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <future>
#include <mutex>

namespace {

// What ran on the worker, in order.
struct RunLog
{
    std::mutex mutex;
    QStringList entries;

    std::function<void()> add(const QString &entry)
    {
        return [this, entry] {
            std::lock_guard lock(mutex);
            entries.append(entry);
        };
    }
};

TEST(SerialWorkerTest, NamedWorkKeepsOnlyItsNewestStateInItsPlaceAndFinishWaitsForAll)
{
    RunLog log;
    SerialWorker worker;
    // The worker is held up by its first work until the rest is handed over.
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    worker.post([released] { released.wait(); });
    worker.post("set", log.add("set 1"));
    worker.post("history", log.add("history 1"));
    worker.post(log.add("sizes a"));
    worker.post("set", log.add("set 2"));
    worker.post(log.add("sizes b"));
    worker.post("history", log.add("history 2"));
    release.set_value();
    worker.finish();
    EXPECT_EQ(log.entries, QStringList({"set 2", "history 2", "sizes a", "sizes b"}));

    // Work handed over while a work of the same name runs is not lost: it runs after it.
    std::promise<void> started;
    std::promise<void> finishing;
    std::shared_future<void> mayFinish = finishing.get_future().share();
    worker.post("set", [&log, &started, mayFinish] {
        started.set_value();
        mayFinish.wait();
        log.add("set 3")();
    });
    started.get_future().wait();
    worker.post("set", log.add("set 4"));
    finishing.set_value();
    worker.finish();
    EXPECT_EQ(log.entries.mid(4), QStringList({"set 3", "set 4"}));
}

}  // namespace
