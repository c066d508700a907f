#include "index/journals/DataBaseWrapper.h"

#include "index/journals/FinishedJournals.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>
#include <mutex>

namespace {

// What the process knows of one index folder: the lock that keeps its merges
// apart and how often each journal's merge has failed.
struct JournalFolder
{
    std::mutex mergeLock;
    std::map<QString, int> failedMerges;  // guarded by mergeLock

    // Process-wide on purpose: merges into one folder must never overlap,
    // whichever manager or wrapper of the process starts them.
    static JournalFolder &forPath(const QString &folder)
    {
        static std::mutex registryLock;
        static std::map<QString, std::unique_ptr<JournalFolder>> folders;
        const QFileInfo info(folder);
        const QString key = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
        std::lock_guard lock(registryLock);
        auto &entry = folders[key];
        if (!entry)
            entry = std::make_unique<JournalFolder>();
        return *entry;
    }
};

}  // namespace

DataBaseWrapper::DataBaseWrapper(JournalFactory makeJournal)
    : mMakeJournal(std::move(makeJournal))
{}

bool DataBaseWrapper::updateMasterDataBase(const QString &folder, const QString &user)
{
    JournalFolder &journalFolder = JournalFolder::forPath(folder);
    std::lock_guard lock(journalFolder.mergeLock);
    bool merged = false;
    for (const QString &name : FinishedJournals::namesOldestFirst(folder)) {
        if (mStopped)
            break;
        const MergeableJournal::Outcome outcome = mergeJournal(folder, name, user);
        if (outcome == MergeableJournal::Outcome::Committed) {
            merged = true;
            journalFolder.failedMerges.erase(name);
            continue;
        }
        if (outcome == MergeableJournal::Outcome::MainIndexFailed ||
            ++journalFolder.failedMerges[name] < kMaxMergeAttempts)
            break;
        const QString path = QDir(folder).filePath(name);
        if (QFile::rename(path, path + QLatin1String(kSetAsideSuffix)))
            journalFolder.failedMerges.erase(name);
        else
            qWarning().noquote() << "journal could not be set aside:" << path;
    }
    return merged;
}

MergeableJournal::Outcome DataBaseWrapper::mergeJournal(const QString &folder, const QString &name, const QString &user)
{
    const std::unique_ptr<MergeableJournal> journal = mMakeJournal();
    QString error;
    const MergeableJournal::Outcome outcome = journal->openDatabaseAtPath(folder, name, &error)
                                                  ? journal->updateMasterDatabase(folder, user, &error)
                                                  : MergeableJournal::Outcome::JournalFailed;
    if (outcome == MergeableJournal::Outcome::Committed) {
        journal->removeDataBaseAtPath(QDir(folder).filePath(name));
        return outcome;
    }
    journal->closeDatabase();
    qWarning().noquote() << "journal kept for the next merge:" << QDir(folder).filePath(name) << error;
    return outcome;
}
