#pragma once

#include "common/transfer/DataHandler.h"

#include <QString>

#include <optional>

// One stored version of a file, from a line of the version list: its
// modification time as the engine gives it, its version and its size in bytes.
// The display size, version number and computer name are the reader's to set.
class VersionData : public DataHandler
{
public:
    void Data(const QString &value, const QString &key) override;
    void ClearData() override;

    QString fileName() const { return mFileName; }
    void setFileName(const QString &value) { mFileName = value; }
    QString LMD() const { return mLMD; }
    void setLMD(const QString &value) { mLMD = value; }
    QString size() const { return mSize; }
    void setSize(const QString &value) { mSize = value; }
    double SizeinBytes() const { return mSizeInBytes; }
    void SetSizeinBytes(double value) { mSizeInBytes = value; }
    QString version() const { return mVersion; }
    void setVersion(const QString &value) { mVersion = value; }
    std::optional<qint64> versionID() const { return mVersionID; }
    void setVersionID(std::optional<qint64> value) { mVersionID = value; }
    QString mpcName() const { return mMpcName; }
    void setMpcName(const QString &value) { mMpcName = value; }

private:
    QString mFileName;
    QString mLMD;
    QString mSize;
    double mSizeInBytes = 0;
    QString mVersion;
    std::optional<qint64> mVersionID;
    QString mMpcName;
};
