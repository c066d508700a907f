#pragma once

#include "common/transfer/DataHandler.h"

#include <QString>

// The account's storage figures as the engine reports them, in either its
// column form ("quota_used", "files_count") or its element form ("usedquota",
// "filecount", "totalquota"). Fields are null until a line carries them.
class QuotaHandlerData : public DataHandler
{
public:
    void Data(const QString &value, const QString &key) override;
    void ClearData() override;

    QString usedQuota() const { return mUsedQuota; }
    void setUsedQuota(const QString &value) { mUsedQuota = value; }
    QString totalFilesCount() const { return mTotalFilesCount; }
    void setTotalFilesCount(const QString &value) { mTotalFilesCount = value; }
    QString totalQuota() const { return mTotalQuota; }
    void setTotalQuota(const QString &value) { mTotalQuota = value; }

private:
    QString mUsedQuota;
    QString mTotalFilesCount;
    QString mTotalQuota;
};
