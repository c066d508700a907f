#pragma once

// The generated index of the index benchmarks, shared by the benchmarks that
// read an index as the client does: ten files per folder, folders spread under
// a hundred top folders, so 1,000,000 files make 100,000 folders; the journal
// hands the files over in no path order, as the index manager's queues do.

#include "index/IndexTimings.h"
#include "index/TXDatabaseWrapper.h"
#include "index/journals/DataBaseWrapper.h"

#include <QString>
#include <QtGlobal>

#include <memory>

namespace GeneratedIndex {

constexpr int kFilesPerFolder = 10;
constexpr int kTopFolders = 100;

inline QString fileFolder(int file)
{
    const int folder = file / kFilesPerFolder;
    return QStringLiteral("/Office/Users/ann/p%1/q%2").arg(folder % kTopFolders).arg(folder / kTopFolders);
}

inline QString filePath(int file) { return fileFolder(file) + QStringLiteral("/file%1.txt").arg(file); }

// The name of a file that only one file holds ("file500000.txt" of 1,000,000).
inline QString rareName(int files) { return QStringLiteral("file%1.txt").arg(files / 2); }

// Index waits without pauses: the building is not what is measured.
inline IndexTimings buildTimings()
{
    IndexTimings timings;
    timings.openWait = std::chrono::milliseconds(0);
    timings.mergePause = std::chrono::milliseconds(0);
    return timings;
}

// Writes the journal of the files into the folder and merges it into the user's main index.
inline void build(const QString &folder, const QString &user, int files)
{
    {
        TXDatabaseWrapper journal(buildTimings());
        if (!journal.initializeDatabaseAtPath(folder, QString(), TXDatabaseWrapper::kJournalMode))
            qFatal("journal cannot be opened");
        for (int row = 0; row < files; ++row) {
            const int file = int(qint64(row) * 1000003 % files);
            journal.insertRecord({filePath(file), QStringLiteral("2014-05-06 10:11:12 +0000"), qint64(1000 + file),
                                  QStringLiteral("NA"), QStringLiteral("NA"), false, QStringLiteral("NA"),
                                  QStringLiteral("NA"), 1, QString::number(file / kFilesPerFolder),
                                  QStringLiteral("/Office"), QStringLiteral("enc%1").arg(file)},
                                 false, TXDatabaseWrapper::kJournalMode);
        }
        journal.commitTransaction();
        journal.unInitializeDatabase();
    }
    DataBaseWrapper merger([] { return std::make_unique<TXDatabaseWrapper>(buildTimings()); });
    if (!merger.updateMasterDataBase(folder, user))
        qFatal("merge failed");
}

}  // namespace GeneratedIndex
