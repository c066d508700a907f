#include "common/transfer/FileTransferRateData.h"

void FileTransferRateData::Data(const QString &value, const QString &key)
{
    if (key == QLatin1String("trf_type"))
        mFileTransferType = value;
    else if (key == QLatin1String("trf_rate"))
        mFileTransferRate = value;
}

void FileTransferRateData::ClearData()
{
    mFileTransferType.clear();
    mFileTransferRate.clear();
}
