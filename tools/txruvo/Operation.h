#pragma once

#include "txruvo/CommandLine.h"

// What one engine run does, chosen by its operation option or, for backup
// and restore sessions, by the shape of the vector.
enum class OperationKind
{
    Backup,           // no operation option, remote only
    ThumbnailUpload,  // --thumbnail, shaped as a backup
    LogUpload,        // --backup-log, shaped as a backup
    ImageMetadata,    // --attrib-ornt2, shaped as a backup without a source root
    Restore,          // no operation option, remote then local target
    Encode,           // --utf8-cmd=
    Quota,            // --get-quota
    VersionInfo,      // --version-info
    TransferRate,     // --trf-uprate, --trf-downrate
    Delete,           // --delete-items
    MoveToOriginal,   // --moveto-original
    IndexRebuild,     // --expressdb-recreate
    NotProvided,      // an operation this engine knows but does not carry out
    Malformed,        // no operation option and no usable remote
};

struct OperationChoice
{
    OperationKind kind;
    QString option;  // the operation option that chose it, for messages
};

OperationChoice chooseOperation(const CommandLine &commandLine);
