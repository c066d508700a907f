#pragma once

#include <QString>

// What the journal-folder merge needs of the index layer for one finished
// journal. The index wrapper implements it; the merge makes a fresh one for
// every journal.
class MergeableJournal
{
public:
    // How a merge ended. Only a journal that cannot be read counts against
    // the journal; a main index that is busy or failing leaves it sound.
    enum class Outcome
    {
        Committed,
        JournalFailed,
        MainIndexFailed
    };

    virtual ~MergeableJournal() = default;

    // Opens the journal file `name` in `folder`, keyed like every index file.
    virtual bool openDatabaseAtPath(const QString &folder, const QString &name, QString *error) = 0;
    // Folds the open journal into the main index of `user` in `folder`;
    // Committed only when that merge was committed.
    virtual Outcome updateMasterDatabase(const QString &folder, const QString &user, QString *error) = 0;
    // Closes the journal and keeps its file.
    virtual void closeDatabase() = 0;
    // Closes the journal and deletes the file at `path`.
    virtual void removeDataBaseAtPath(const QString &path) = 0;
};
