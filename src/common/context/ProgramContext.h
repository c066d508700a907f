#pragma once

#include <QtGlobal>

#include <atomic>
#include <memory>
#include <mutex>
#include <typeindex>
#include <unordered_map>

class OnlineLogController;
class QLApplicationDelegate;
class QLBackupProgressLogger;
class TextTable;
class TXSupportFileManager;

// What the whole program shares: its text table, its application files, the
// session notice board, the progress logger, the main controller and the
// session's size total. One is built in each program's main() (and by each
// test that needs a clean one) and lives until the program ends.
//
// The product's accessors (QLLocalizedString, TXSupportFileManager::txFileManager(),
// OnlineLogController::SharedOnlineLogController(), ...) forward to the current
// context: the newest one alive. Building a context makes it current; destroying
// it gives the previous one back. Contexts are built and destroyed on the main
// thread before and after the threads that use them.
class ProgramContext
{
public:
    ProgramContext();
    ~ProgramContext();
    ProgramContext(const ProgramContext &) = delete;
    ProgramContext &operator=(const ProgramContext &) = delete;

    // The current context; a program that uses a shared service without one is a bug.
    static ProgramContext &current();

    TextTable &texts() { return *mTexts; }
    TXSupportFileManager &files() { return *mFiles; }
    OnlineLogController &onlineLog() { return *mOnlineLog; }
    QLBackupProgressLogger &progressLogger() { return *mProgressLogger; }
    // The exact byte total of the files reported in the running session; each file counts once.
    std::atomic<quint64> &sizeTotal() { return mSizeTotal; }

    // The services a higher layer installs for the lower ones, by the interface
    // they are asked through (the main controller installs itself as
    // QLApplicationDelegate, and as the engine layer's delegate). Not owned.
    template <class Service>
    void setService(Service *service)
    {
        mServices[std::type_index(typeid(Service))] = service;
    }
    template <class Service>
    Service *service() const
    {
        const auto found = mServices.find(std::type_index(typeid(Service)));
        return found == mServices.end() ? nullptr : static_cast<Service *>(found->second);
    }

    // An object of a higher layer that the whole program shares, made on
    // first use. Such objects are destroyed first when the context ends, while
    // the services they use still exist.
    template <class Object>
    Object &sharedObject()
    {
        std::lock_guard lock(mSharedObjectsLock);
        std::shared_ptr<void> &slot = mSharedObjects[std::type_index(typeid(Object))];
        if (!slot)
            slot = std::make_shared<Object>();
        return *static_cast<Object *>(slot.get());
    }

private:
    ProgramContext *mPrevious;
    std::unique_ptr<TextTable> mTexts;
    std::unique_ptr<TXSupportFileManager> mFiles;
    std::unique_ptr<OnlineLogController> mOnlineLog;
    std::unique_ptr<QLBackupProgressLogger> mProgressLogger;
    std::atomic<quint64> mSizeTotal{0};
    std::unordered_map<std::type_index, void *> mServices;
    std::mutex mSharedObjectsLock;
    std::unordered_map<std::type_index, std::shared_ptr<void>> mSharedObjects;
};
