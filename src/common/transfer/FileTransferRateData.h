#pragma once

#include "common/transfer/DataHandler.h"

#include <QString>

// The result line of a bandwidth test: the kind of transfer ("trf_type") and
// its rate ("trf_rate"), both unconverted text, null until a line carries them.
class FileTransferRateData : public DataHandler
{
public:
    void Data(const QString &value, const QString &key) override;
    void ClearData() override;

    QString FileTransferType() const { return mFileTransferType; }
    void setFileTransferType(const QString &type) { mFileTransferType = type; }
    QString FileTransferRate() const { return mFileTransferRate; }
    void setFileTransferRate(const QString &rate) { mFileTransferRate = rate; }

private:
    QString mFileTransferType;
    QString mFileTransferRate;
};
