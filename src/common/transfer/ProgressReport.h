#pragma once

#include <QString>
#include <QVariantMap>

#include <array>
#include <initializer_list>
#include <optional>
#include <utility>

// One progress report of a backup, restore or version restore, built from the
// engine's progress lines (FileTransferData) and passed typed to whoever
// follows the operation and to the drive's index. A field set for one line
// keeps its value for the next lines of the same read until it is set again.
// Its dictionary form uses the keys below.
class ProgressReport
{
public:
    enum Field
    {
        TotalFileCount,          // "totalFileCount"
        FileTransferedStatus,    // "fileTransferedStatus": "In Progress" or "Done"
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

    // The status of a file the engine has finished.
    static inline const QString kDone = QStringLiteral("Done");
    static inline const QString kInProgress = QStringLiteral("In Progress");

    ProgressReport() = default;
    // A report with these fields set, in order.
    ProgressReport(std::initializer_list<std::pair<Field, QString>> fields)
    {
        for (const auto &[field, value] : fields)
            set(field, value);
    }

    // A value equal to the field's present one keeps the present text, so that
    // the reports sent share it rather than each holding a copy.
    void set(Field field, const QString &value)
    {
        std::optional<QString> &present = mFields[field];
        if (!present || present->isNull() != value.isNull() || *present != value)
            present = value;
    }
    bool has(Field field) const { return mFields[field].has_value(); }
    // The field's value; a null text while it was never set.
    QString value(Field field) const { return mFields[field].value_or(QString()); }
    bool isDone() const { return value(FileTransferedStatus) == kDone; }
    bool isEmpty() const;

    // The fields set so far under their keys (for traces and plists).
    QVariantMap toMap() const;

private:
    std::array<std::optional<QString>, FieldCount> mFields;
};
