#include "common/context/ProgramContext.h"

#include "common/files/TXSupportFileManager.h"
#include "common/logging/OnlineLogController.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/texts/TextTable.h"

#include <QtDebug>

namespace {
// The one process-wide pointer: where the product's shared accessors find the
// program's context. Set and cleared only by contexts, on the main thread.
std::atomic<ProgramContext *> gCurrent{nullptr};
}  // namespace

ProgramContext::ProgramContext()
    : mPrevious(gCurrent.load())
    , mTexts(std::make_unique<TextTable>())
    , mFiles(std::make_unique<TXSupportFileManager>())
    , mOnlineLog(std::make_unique<OnlineLogController>())
    , mProgressLogger(std::make_unique<QLBackupProgressLogger>())
{
    gCurrent.store(this);
}

// Shared objects end first; the progress logger writes out what it still holds as it goes.
ProgramContext::~ProgramContext()
{
    // Taken out of the map first, so that an object ending may still look up another.
    std::unordered_map<std::type_index, std::shared_ptr<void>> shared;
    {
        std::lock_guard lock(mSharedObjectsLock);
        shared.swap(mSharedObjects);
    }
    shared.clear();
    mProgressLogger.reset();
    gCurrent.store(mPrevious);
}

ProgramContext &ProgramContext::current()
{
    ProgramContext *context = gCurrent.load();
    if (!context)
        qFatal("no program context: main() builds one before anything else");
    return *context;
}
