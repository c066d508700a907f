#pragma once

#include "common/transfer/FileSystemNode.h"

#include <QList>
#include <QString>

// Where the rows of a key search arrive, on the main thread. Each call names
// the search it belongs to by the number it was started with.
class KeySearchReceiver
{
public:
    virtual ~KeySearchReceiver() = default;
    // The rows of the next batch of found items, those not shown already left out.
    virtual void searchReceivedRows(quint64 search, QList<FileSystemNode> rows) = 0;
    virtual void searchFinished(quint64 search) = 0;
    // A failed or cancelled search: no more rows come.
    virtual void searchEnded(quint64 search) = 0;
};

// Searches the drive's index for a key under a root, in batches, each search
// ending with exactly one of searchFinished and searchEnded. The program
// searches the index; tests answer by hand.
class KeySearch
{
public:
    virtual ~KeySearch() = default;

    void setReceiver(KeySearchReceiver *receiver) { mReceiver = receiver; }
    // A new search takes the place of one that runs; showHidden: whether hidden files become rows.
    virtual void start(quint64 search, const QString &key, const QString &root, bool showHidden) = 0;
    // The running search stops and ends with searchEnded.
    virtual void cancel() = 0;
    virtual bool isRunning() const = 0;

protected:
    KeySearchReceiver *receiver() const { return mReceiver; }

private:
    KeySearchReceiver *mReceiver = nullptr;
};
