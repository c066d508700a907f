#pragma once

#include "txruvo/CommandLine.h"

// What one engine run does, chosen by its operation option or, for backup
// and restore sessions, by the shape of the vector.
enum class OperationKind {
    Backup,          // no operation option, remote only
    Restore,         // no operation option, remote then local target
    Encode,          // --utf8-cmd=
    Quota,           // --get-quota
    VersionInfo,     // --version-info
    TransferRate,    // --trf-uprate, --trf-downrate
    Delete,          // --delete-items
    IndexRebuild,    // --expressdb-recreate
    NotProvided,     // an operation this engine knows but does not carry out
    Malformed,       // no operation option and no usable remote
};

struct OperationChoice
{
    OperationKind kind;
    QString option;  // the operation option that chose it, for messages
};

OperationChoice chooseOperation(const CommandLine &commandLine);
