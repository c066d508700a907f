#pragma once

#include <QString>
#include <QVariant>

// Receives the result of a reporting query of TXDatabaseWrapper, on the thread
// that ran the query; moving it to the main thread is the receiver's business.
class TXDatabaseWrapperDelegate
{
public:
    virtual ~TXDatabaseWrapperDelegate() = default;

    // A list of records (QVariantList of QVariantMap) or one record (QVariantMap).
    virtual void queryFinishedWithOutput(const QVariant &output) = 0;
    virtual void queryFailedWithError(const QString &error) = 0;
};
