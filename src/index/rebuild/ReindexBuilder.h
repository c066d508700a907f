#pragma once

#include "index/TXDatabaseWrapper.h"

#include <QString>

// Builds a user's index anew in "<user>_reindex.qlenc" of the index folder,
// in one transaction, and then puts it in the place of "<user>.qlenc". The
// main index stays whole and readable throughout: it is replaced in one step
// of the database library, never file by file, so neither a reader that has
// it open nor a process killed midway sees half of either.
class ReindexBuilder
{
public:
    ReindexBuilder(QString indexFolder, QString userName, IndexTimings timings = {});
    // An unfinished rebuild is abandoned.
    ~ReindexBuilder();
    ReindexBuilder(const ReindexBuilder &) = delete;
    ReindexBuilder &operator=(const ReindexBuilder &) = delete;

    // Clears what an interrupted rebuild left and opens a fresh re-index
    // database with its tables. False, with the reason, when it cannot.
    bool start(QString *error);
    // Adds one file to its folder.
    // The files of one folder are held until another folder's file comes, so
    // a listing sorted by folder needs memory for one folder at a time; a
    // folder that comes back later is added to.
    void addFile(const QString &folderKey, const IndexRows::FileValues &file);
    // Writes what is held, commits and replaces the main index. False, with
    // the reason, when the main index could not be replaced; it is then kept.
    bool finish(QString *error);
    // Drops the re-index database; the main index stays as it was.
    void abandon();

    // The most files held at once, for the benchmark.
    qsizetype largestHeldFolder() const { return mLargestHeldFolder; }

private:
    void writeHeldFolder();
    bool replaceMainIndex(QString *error);
    QString databasePath(const QString &name) const;

    QString mIndexFolder;
    QString mUserName;
    IndexTimings mTimings;
    TXDatabaseWrapper mReindex;
    bool mOpen = false;
    QString mHeldFolder;
    QList<IndexRows::FileValues> mHeldFiles;
    qsizetype mLargestHeldFolder = 0;
};
