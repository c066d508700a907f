#pragma once

#include "common/transfer/DataHandler.h"

#include <QString>

// One line of a delete run: what happened ("deleted") to which item, and the
// closing count of deleted items. Fields are null until a line carries them.
class DeleteHandlerData : public DataHandler
{
public:
    void Data(const QString &value, const QString &key) override;
    void ClearData() override;

    QString operationStatus() const { return mOperationStatus; }
    void setOperationStatus(const QString &value) { mOperationStatus = value; }
    QString fileName() const { return mFileName; }
    void setFileName(const QString &value) { mFileName = value; }
    QString totalItemsDeleted() const { return mTotalItemsDeleted; }
    void setTotalItemsDeleted(const QString &value) { mTotalItemsDeleted = value; }

private:
    QString mOperationStatus;
    QString mFileName;
    QString mTotalItemsDeleted;
};
