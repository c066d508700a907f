#pragma once

#include <QString>

class TXRenameController;

// What a rename on the drive tells its delegate, on the main thread. Each
// item ends with renameDidReceiveData followed by renameDiDFinish, or with
// renameDidFailWithError naming the item.
class TXRenameControllerDelegateProtocol
{
public:
    virtual ~TXRenameControllerDelegateProtocol() = default;

    // The item is renamed on the drive and in the index (paths below the data root).
    virtual void renameDidReceiveData(const QString &oldPath, const QString &newPath) = 0;
    virtual void renameDiDFinish(TXRenameController *controller) = 0;
    virtual void renameDidFailWithError(const QString &error, TXRenameController *controller, const QString &path) = 0;
};
