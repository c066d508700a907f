#include "engine/parsing/PutBackData.h"

void PutBackData::Data(const QString &value, const QString &key)
{
    if (key == u"op")
        mOp = value;
    else if (key == u"fname")
        mFname = value;
    else if (key == u"tot_items_moved")
        mTotItemsMoved = value;
    else if (key == u"op_end")
        mOpEnd = value;
}

void PutBackData::ClearData()
{
    mOp.clear();
    mFname.clear();
    mTotItemsMoved.clear();
    mOpEnd.clear();
}
