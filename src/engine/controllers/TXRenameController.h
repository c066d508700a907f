#pragma once

#include "engine/controllers/EngineControllerFields.h"
#include "index/IndexTimings.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <list>

class TXRenameControllerDelegateProtocol;

// Renames files and folders of the backup data in place on the destination
// drive, with the companions a backup keeps beside a file (its "_.chk"
// marker, its stored versions and their markers, its thumbnails with their
// markers), then renames each item's record in the account's main index on a
// worker thread. A destination that exists is never replaced. It does not
// start the engine.
class TXRenameController : public EngineControllerFields
{
public:
    explicit TXRenameController(IndexTimings timings = {});
    ~TXRenameController() override;

    void setDelegate(TXRenameControllerDelegateProtocol *delegate) { mDelegateObj = delegate; }
    // The drive's mount point, ending in "/".
    void setDestinationDrive(const QString &drive) { mDestinationDrive = drive; }
    // The computer folder on the drive ("/Office"): an item path that does not begin
    // with it (an index kept without computer folders) lies below it on the drive.
    // Empty (sync mode, or the default): item paths are the drive's as they stand.
    void setComputerFolder(const QString &folder) { mComputerFolder = folder; }
    bool isRunning() const { return mIsRunning; }
    void setRunningState(bool running) { mIsRunning = running; }

    // Renames the items in order; each is a map of "OriginalPath" to
    // "RenamedPath", paths below the user's data root whose first component
    // is the computer folder. The first item that cannot be moved ends the batch.
    void startRenameWithPaths(const QList<QVariantMap> &items);

    // Renames every file of the folder named oldName + ".qlvn" + rest to newName + ".qlvn" + rest.
    static void renameVersionsForFile(const QString &oldName, const QString &newName, const QString &folder);

private:
    class IndexUpdate;

    QString dataRoot(const QString &indexUser) const;
    // The item's paths as the drive has them.
    QVariantMap onDrive(const QVariantMap &item) const;
    void moveCompanions(const QVariantMap &item, const QString &root, const QString &source,
                        const QString &destination) const;
    void updateIndex(const QString &indexUser, const QVariantMap &item, bool isFolder);
    void notifyDelegate(const QVariantMap &answer);

    TXRenameControllerDelegateProtocol *mDelegateObj = nullptr;
    const IndexTimings mTimings;
    QString mDestinationDrive;
    QString mComputerFolder;
    bool mIsRunning = false;
    bool mBackupMode = true;
    QObject mMainThreadContext;
    std::list<IndexUpdate> mUpdates;  // last: their queries go first
};
