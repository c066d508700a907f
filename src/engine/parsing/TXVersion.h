#pragma once

#include <QString>

#include <optional>

// The version the user chose in the version list, handed to the version
// restore: texts start empty, the version number unset, the size at 0.
class TXVersion
{
public:
    QString fileName() const { return mFileName; }
    void setFileName(const QString &value) { mFileName = value; }
    QString LMD() const { return mLMD; }
    void setLMD(const QString &value) { mLMD = value; }
    QString size() const { return mSize; }
    void setSize(const QString &value) { mSize = value; }
    QString version() const { return mVersion; }
    void setVersion(const QString &value) { mVersion = value; }
    std::optional<qint64> versionID() const { return mVersionID; }
    void setVersionID(std::optional<qint64> value) { mVersionID = value; }
    double SizeinBytes() const { return mSizeInBytes; }
    void setSizeinBytes(double value) { mSizeInBytes = value; }

private:
    QString mFileName = QStringLiteral("");
    QString mLMD = QStringLiteral("");
    QString mSize = QStringLiteral("");
    QString mVersion = QStringLiteral("");
    std::optional<qint64> mVersionID;
    double mSizeInBytes = 0;
};
