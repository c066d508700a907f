#pragma once

#include "common/transfer/ProgressReport.h"

#include <QString>

// What a backup tells the drive's index of one file the engine reported as
// stored: the file's local path and the values that name it on the drive. A
// value the engine's report lacked is null.
struct BackedUpFile
{
    QString filename;       // the local path
    QString relativePath;   // sync mode: the path below the sync root
    QString versionNumber;
    QString folderID;
    QString mpcName;
    QString encFilename;

    static BackedUpFile of(const ProgressReport &report)
    {
        return {report.value(ProgressReport::Filename),    report.value(ProgressReport::RelativePath),
                report.value(ProgressReport::VersionNumber), report.value(ProgressReport::FolderID),
                report.value(ProgressReport::MpcName),      report.value(ProgressReport::EncFilename)};
    }
};
