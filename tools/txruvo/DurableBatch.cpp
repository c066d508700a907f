#include "txruvo/DurableBatch.h"

#include <cerrno>

DurableBatch::DurableBatch(Rules rules)
    : mRules(std::move(rules))
{}

void DurableBatch::add(Entry entry, int fileSystemFd)
{
    if (mEntries.empty())
        mOldest.start();
    if (!mFileSystems.contains(fileSystemFd))
        mFileSystems << fileSystemFd;
    mBytes += entry.bytes;
    mEntries.push_back(std::move(entry));
}

bool DurableBatch::isDue() const
{
    return !mEntries.empty() && (qsizetype(mEntries.size()) >= mRules.limits.files || mBytes >= mRules.limits.bytes ||
                                 std::chrono::milliseconds(mOldest.elapsed()) >= mRules.hold);
}

std::optional<DurableBatch::SyncFailure> DurableBatch::flush(Cut *cut)
{
    *cut = Cut::None;
    if (mEntries.empty())
        return std::nullopt;
    if (!syncAll()) {
        const int error = errno;
        discard();
        return SyncFailure{error};
    }
    std::vector<Entry> committed;
    for (Entry &entry : mEntries) {
        if (mRules.cancelled && mRules.cancelled()) {
            *cut = Cut::Cancelled;
            break;
        }
        const Outcome outcome = entry.commit();
        if (outcome == Outcome::Committed)
            committed.push_back(std::move(entry));
        if (outcome == Outcome::Stop) {
            *cut = Cut::Stopped;
            break;
        }
    }
    mEntries.clear();
    const bool synced = syncAll();
    const int error = errno;
    mFileSystems.clear();
    mBytes = 0;
    if (!synced)
        return SyncFailure{error};
    for (const Entry &entry : committed)
        entry.report();
    return std::nullopt;
}

void DurableBatch::discard()
{
    mEntries.clear();  // each copy removes its temporary file
    mFileSystems.clear();
    mBytes = 0;
}

bool DurableBatch::syncAll()
{
    for (const int fd : std::as_const(mFileSystems)) {
        if (mRules.sync(fd) != 0)
            return false;
    }
    return true;
}
