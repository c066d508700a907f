#include "engine/controllers/IndexQuery.h"

#include "common/files/TXSupportFileManager.h"
#include "engine/controllers/ControllerTexts.h"
#include "index/TXDatabaseWrapper.h"
#include "index/TXDatabaseWrapperDelegate.h"

#include <atomic>
#include <thread>

// Hands the results of one query to its receiver until told to forget it.
class IndexQuery::Relay : public TXDatabaseWrapperDelegate
{
public:
    explicit Relay(TXDatabaseWrapperDelegate &receiver)
        : mReceiver(&receiver)
    {}

    void queryFinishedWithEntries(const IndexEntries &entries) override
    {
        relay([&entries](TXDatabaseWrapperDelegate &receiver) { receiver.queryFinishedWithEntries(entries); });
    }
    void queryFinishedWithOutput(const QVariant &output) override
    {
        relay([&output](TXDatabaseWrapperDelegate &receiver) { receiver.queryFinishedWithOutput(output); });
    }
    void queryFailedWithError(const QString &error) override
    {
        relay([&error](TXDatabaseWrapperDelegate &receiver) { receiver.queryFailedWithError(error); });
    }
    bool takesRowsAsTheyCome() const override
    {
        std::lock_guard<std::mutex> lock(mLock);
        return mReceiver && mReceiver->takesRowsAsTheyCome();
    }
    // A forgotten query reads no further.
    bool queryDidReadRows(const IndexEntries &rows) override
    {
        bool goOn = false;
        relay([&rows, &goOn](TXDatabaseWrapperDelegate &receiver) { goOn = receiver.queryDidReadRows(rows); });
        return goOn;
    }

    // Waits for a result being handed over on another thread; inside a
    // result (the receiver starting its next query) it only stops the next ones.
    void forget()
    {
        if (mRelayingThread.load() == std::this_thread::get_id()) {
            mReceiver = nullptr;
            return;
        }
        std::lock_guard<std::mutex> lock(mLock);
        mReceiver = nullptr;
    }

private:
    void relay(const std::function<void(TXDatabaseWrapperDelegate &)> &call)
    {
        std::lock_guard<std::mutex> lock(mLock);
        if (!mReceiver)
            return;
        mRelayingThread = std::this_thread::get_id();
        call(*mReceiver);
        mRelayingThread = std::thread::id();
    }

    mutable std::mutex mLock;  // held while a result is handed over
    TXDatabaseWrapperDelegate *mReceiver;
    std::atomic<std::thread::id> mRelayingThread;
};

IndexQuery::~IndexQuery() { stop(); }

void IndexQuery::start(const QString &indexUser, TXDatabaseWrapperDelegate &receiver, Query query)
{
    stop();
    auto relay = std::make_shared<Relay>(receiver);
    {
        std::lock_guard<std::mutex> lock(mLock);
        mCurrent = relay;
    }
    // The index lives on the destination drive: without one there is none to open.
    const TXSupportFileManager &files = TXSupportFileManager::txFileManager();
    const QString folder =
        files.destinationDrive().isEmpty() ? QString() : files.pathForApplicationFile(ApplicationFile::LDBFolder);
    // The thread keeps its relay alive: the receiver may be gone when it ends.
    std::thread([relay, folder, indexUser, timings = mTimings, query = std::move(query)] {
        if (indexUser.isEmpty()) {
            relay->queryFailedWithError(ControllerTexts::kNoIndexUser);
            return;
        }
        TXDatabaseWrapper wrapper(timings);
        wrapper.setDelegate(relay.get());
        if (!folder.isEmpty())
            wrapper.initializeDatabaseAtPath(folder, indexUser, TXDatabaseWrapper::kListingMode);
        query(wrapper);
    }).detach();
}

void IndexQuery::stop()
{
    std::shared_ptr<Relay> current;
    {
        std::lock_guard<std::mutex> lock(mLock);
        current = std::move(mCurrent);
    }
    // Not under our lock: a result being handed over may start the next query.
    if (current)
        current->forget();
}
