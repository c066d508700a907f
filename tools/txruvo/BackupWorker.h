#pragma once

#include "txruvo/DurableBatch.h"
#include "txruvo/SessionRun.h"

#include <sys/stat.h>

class BackupOperation;

// One thread's share of a backup run. It gets the lines of whole folders,
// so it keeps the folder it is in open, on the source and on the drive,
// and looks items up relative to those (no path walk per file); an
// unchanged file costs a status of each side and a read of its marker.
// Copies wait in a DurableBatch until their data is on the drive.
class BackupWorker : public SessionRun::Worker
{
public:
    explicit BackupWorker(BackupOperation &operation);
    ~BackupWorker() override;

    std::optional<SessionRun::Stop> handle(const ListEntry &entry) override;
    std::optional<SessionRun::Stop> finish() override;

private:
    using Stop = SessionRun::Stop;

    // The folder of the lines being handled.
    struct Folder
    {
        QString userPath;       // its path as the list names it ("" for the top)
        int sourceFd = -1;
        int sourceError = 0;
        bool storedOpened = false;
        int storedFd = -1;
        int storedError = 0;
        QString storedRelativePath;
        QString id;
        bool mayHaveVersions = false;
    };
    // What one list line names.
    struct Item
    {
        QString line;
        QString userPath;
        QString name;  // the user's name
        struct stat source;
    };

    void enterFolder(const QString &userPath);
    void leaveFolder();
    // The drive side of the folder, made on first use; a Stop when the drive is full.
    std::optional<Stop> openStoredFolder();
    std::optional<Stop> storeFolder(const QString &userPath);
    std::optional<Stop> store(const Item &item);
    std::optional<Stop> copy(const Item &item, const QString &storedName, bool exists, const QByteArray &markerContent,
                             bool markerCurrent, const QString &encName);
    std::optional<Stop> flushBatch();
    ProgressLine completion(const Item &item, const QString &encName, const QString &transferType,
                            const QString &relativePath) const;

    BackupOperation &mOperation;
    SessionRun &mRun;
    Folder mFolder;
    DurableBatch mBatch;
    std::optional<Stop> mCommitStop;
    QString mMpc;
};
