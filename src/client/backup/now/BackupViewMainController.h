#pragma once

#include "client/common/pages/PageHost.h"

#include <QString>

class BackedUpFileQueue;

// What the Backup tab asks of the program beyond what every page asks (PageHost): the
// queue of stored files for the drive's index and the sidebar's mini progress. The
// main controller and the sidebar implement it; tests use a fake.
class BackupViewMainController : public PageHost
{
public:
    // Where the session records each stored file for the drive's index; null: nowhere.
    virtual BackedUpFileQueue *backedUpFileQueue() = 0;

    // The sidebar's mini progress of a backup running behind another page.
    virtual void setBackupMiniProgressHidden(bool hidden) = 0;
    virtual void setBackupMiniPercentage(const QString &text) = 0;

    // The stored files queued for the drive's index go to it now rather than at its next
    // tick (a session has ended), so that the space used measured next counts them.
    virtual void indexQueuedFilesNow() {}
};
