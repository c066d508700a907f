#include "engine/parsing/DeleteHandlerData.h"

void DeleteHandlerData::Data(const QString &value, const QString &key)
{
    if (key == u"op")
        mOperationStatus = value;
    else if (key == u"fname")
        mFileName = value;
    else if (key == u"tot_items_deleted")
        mTotalItemsDeleted = value;
}

void DeleteHandlerData::ClearData()
{
    mOperationStatus.clear();
    mFileName.clear();
    mTotalItemsDeleted.clear();
}
