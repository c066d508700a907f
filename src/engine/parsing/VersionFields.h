#pragma once

#include <QString>

#include <optional>

// What a stored version of a file carries, both as a row of the version list
// (VersionData) and as the version chosen for a restore (TXVersion): texts
// start as none, the version number unset, the size in bytes at 0.
class VersionFields
{
public:
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

protected:
    QString mFileName;
    QString mLMD;
    QString mSize;
    double mSizeInBytes = 0;
    QString mVersion;
    std::optional<qint64> mVersionID;
};
