#pragma once

#include "index/IndexEntry.h"

#include <QString>
#include <QVariant>

// Receives the result of a reporting query of TXDatabaseWrapper, on the thread
// that ran the query; moving it to the main thread is the receiver's business.
// A receiver overrides the end its queries report.
class TXDatabaseWrapperDelegate
{
public:
    virtual ~TXDatabaseWrapperDelegate() = default;

    // The entries of a listing, a search or a lookup.
    virtual void queryFinishedWithEntries(const IndexEntries &) {}
    // The one record (QVariantMap) of a folder's properties or of a rename.
    virtual void queryFinishedWithOutput(const QVariant &) {}
    virtual void queryFailedWithError(const QString &error) = 0;

    // A receiver that takes the entries of a key search as they are read hears
    // them in batches, in the statement's order, through queryDidReadRows;
    // queryFinishedWithEntries then brings the entries not yet handed over
    // (maybe none), or queryFailedWithError ends the search after the batches.
    // A false answer stops the search: it closes the index and reports nothing more.
    virtual bool takesRowsAsTheyCome() const { return false; }
    virtual bool queryDidReadRows(const IndexEntries &) { return true; }
};
