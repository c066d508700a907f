#pragma once

#include "index/journals/MergeableJournal.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

// Folds the finished journals of an index folder into the user's main index.
// Merges into one folder never overlap, whichever wrapper or thread starts them.
class DataBaseWrapper
{
public:
    using JournalFactory = std::function<std::unique_ptr<MergeableJournal>()>;

    // Failed merges of one journal before it is set aside.
    static constexpr int kMaxMergeAttempts = 3;
    // Added to the name of a journal that is set aside; it is kept, never merged.
    static constexpr const char *kSetAsideSuffix = ".failed";

    explicit DataBaseWrapper(JournalFactory makeJournal);

    // Merges the finished journals of the folder, oldest first, and deletes each
    // once its merge was committed. A journal whose merge fails is kept, and so
    // are those written after it, so that no change is applied out of order;
    // the next call tries again. After kMaxMergeAttempts failures of the
    // journal itself in this process it is renamed with kSetAsideSuffix and the
    // later ones go on; a failing main index only ends the pass. True when at
    // least one journal was merged.
    // After stopMerging, a pass ends before its next journal (each journal's merge is one
    // transaction, so the index stays whole); the journals left wait for the next start.
    bool updateMasterDataBase(const QString &folder, const QString &user);
    // For the program's end: merges stop at the next safe point, for good.
    void stopMerging() { mStopped = true; }

private:
    MergeableJournal::Outcome mergeJournal(const QString &folder, const QString &name, const QString &user);

    JournalFactory mMakeJournal;
    std::atomic<bool> mStopped{false};
};
