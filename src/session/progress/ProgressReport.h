#pragma once

#include <QString>
#include <QVariantMap>

#include <array>
#include <optional>

// The fields of a session's progress report, filled line by line from the
// engine's progress lines. A field set for one line keeps its value for the
// next lines of the same read until it is set again. A report goes to the
// delegate as a dictionary under the keys below.
class ProgressReport
{
public:
    enum Field {
        TotalFileCount,          // "totalFileCount"
        FileTransferedStatus,    // "fileTransferedStatus"
        EncFilename,             // "encFilename"
        MpcName,                 // "mpcName"
        FolderID,                // "folderID"
        Filename,                // "filename"
        RelativePath,            // "relativePath"
        Filesize,                // "filesize"
        TansferMode,             // "tansferMode"
        Percentage,              // "percentage"
        Totalsize,               // "totalsize"
        Cumulativetransfersize,  // "cumulativetransfersize"
        TransferSpeed,           // "transferSpeed"
        Speed,                   // "speed"
        EstimatedTime,           // "estimatedTime"
        VersionNumber,           // "VersionNumber"
        FieldCount
    };

    // A value equal to the field's present one keeps the present text, so that
    // the reports sent share it rather than each holding a copy.
    void set(Field field, const QString &value)
    {
        std::optional<QString> &present = mFields[field];
        if (!present || present->isNull() != value.isNull() || *present != value)
            present = value;
    }
    // The field's value; a null text while it was never set.
    QString value(Field field) const { return mFields[field].value_or(QString()); }

    // The fields set so far under their keys. Made for every report sent, so
    // built in key order rather than by a lookup per key.
    QVariantMap toMap() const;

private:
    std::array<std::optional<QString>, FieldCount> mFields;
};
