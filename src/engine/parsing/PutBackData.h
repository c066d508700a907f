#pragma once

#include "common/transfer/DataHandler.h"

#include <QString>

// One line of a move to the original place: the operation done ("moved",
// "in_place") to which item, and the closing count of items moved. Fields
// are null until a line carries them.
class PutBackData : public DataHandler
{
public:
    void Data(const QString &value, const QString &key) override;
    void ClearData() override;

    QString op() const { return mOp; }
    void setOp(const QString &value) { mOp = value; }
    QString fname() const { return mFname; }
    void setfname(const QString &value) { mFname = value; }
    QString totItemsMoved() const { return mTotItemsMoved; }
    void setTotItemsMoved(const QString &value) { mTotItemsMoved = value; }
    QString opEnd() const { return mOpEnd; }
    void setOpEnd(const QString &value) { mOpEnd = value; }

private:
    QString mOp;
    QString mFname;
    QString mTotItemsMoved;
    QString mOpEnd;
};
