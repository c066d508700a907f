#pragma once

#include "common/transfer/ProgressReport.h"

#include <QString>

// What a backup tells the drive's index of one file the engine reported as
// stored: the file's local path, the values that name it on the drive and,
// taken when it was stored, its size and modification time (so that a file
// deleted locally before the index's next tick still enters the index). A
// value the engine's report lacked is null; facts not taken are -1.
struct BackedUpFile
{
    QString filename;      // the local path
    QString relativePath;  // sync mode: the path below the sync root
    QString versionNumber;
    QString folderID;
    QString mpcName;
    QString encFilename;
    qint64 size = -1;
    qint64 modificationTime = -1;  // seconds since the epoch

    static BackedUpFile of(const ProgressReport &report)
    {
        return {report.value(ProgressReport::Filename),      report.value(ProgressReport::RelativePath),
                report.value(ProgressReport::VersionNumber), report.value(ProgressReport::FolderID),
                report.value(ProgressReport::MpcName),       report.value(ProgressReport::EncFilename)};
    }
};
