#include "engine/parsing/QuotaHandlerData.h"

void QuotaHandlerData::Data(const QString &value, const QString &key)
{
    if (key == u"quota_used" || key == u"usedquota")
        mUsedQuota = value;
    else if (key == u"files_count" || key == u"filecount")
        mTotalFilesCount = value;
    else if (key == u"totalquota")
        mTotalQuota = value;
}

void QuotaHandlerData::ClearData()
{
    mUsedQuota.clear();
    mTotalFilesCount.clear();
    mTotalQuota.clear();
}
