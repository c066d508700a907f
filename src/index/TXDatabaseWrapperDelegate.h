#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

// Receives the result of a reporting query of TXDatabaseWrapper, on the thread
// that ran the query; moving it to the main thread is the receiver's business.
class TXDatabaseWrapperDelegate
{
public:
    virtual ~TXDatabaseWrapperDelegate() = default;

    // A list of records (QVariantList of QVariantMap) or one record (QVariantMap).
    virtual void queryFinishedWithOutput(const QVariant &output) = 0;
    virtual void queryFailedWithError(const QString &error) = 0;

    // A receiver that takes the rows of a key search as they are read hears
    // them in batches, in the statement's order, through queryDidReadRows;
    // queryFinishedWithOutput then brings the rows not yet handed over (maybe
    // none), or queryFailedWithError ends the search after the batches. A
    // false answer stops the search: it closes the index and reports nothing more.
    virtual bool takesRowsAsTheyCome() const { return false; }
    virtual bool queryDidReadRows(const QVariantList &) { return true; }
};
