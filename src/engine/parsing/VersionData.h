#pragma once

#include "common/transfer/DataHandler.h"
#include "engine/parsing/VersionFields.h"

#include <QString>

// One stored version of a file, from a line of the version list: its
// modification time as the engine gives it, its version and its size in bytes.
// The display size, version number and computer name are the reader's to set.
class VersionData : public DataHandler, public VersionFields
{
public:
    void Data(const QString &value, const QString &key) override;
    void ClearData() override;

    QString mpcName() const { return mMpcName; }
    void setMpcName(const QString &value) { mMpcName = value; }

private:
    QString mMpcName;
};
