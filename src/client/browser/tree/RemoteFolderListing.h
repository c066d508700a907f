#pragma once

#include "client/browser/tree/RemoteEntry.h"

#include <QList>
#include <QString>

// Where the listings of stored folders end, on the main thread.
class RemoteFolderListingReceiver
{
public:
    virtual ~RemoteFolderListingReceiver() = default;
    virtual void folderListed(const QString &folderPath, const QList<RemoteEntry> &entries) = 0;
    virtual void folderListingFailed(const QString &folderPath) = 0;
};

// Lists the children of stored folders, one listing per folder, each ending with
// exactly one call to the receiver. The program lists from the drive's index;
// tests answer by hand.
class RemoteFolderListing
{
public:
    virtual ~RemoteFolderListing() = default;

    void setReceiver(RemoteFolderListingReceiver *receiver) { mReceiver = receiver; }
    // The folder's path relative to the data root ("" for the root).
    virtual void list(const QString &folderPath) = 0;
    // Forgets every listing under way: none of them ends any more.
    virtual void cancelAll() = 0;

protected:
    RemoteFolderListingReceiver *receiver() const { return mReceiver; }

private:
    RemoteFolderListingReceiver *mReceiver = nullptr;
};
