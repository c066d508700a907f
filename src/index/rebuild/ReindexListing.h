#pragma once

#include "index/IndexRows.h"

#include <QString>

#include <optional>

class FileTransferData;

// What the index rebuild takes from one line of the engine's listing of the
// drive: the file's record for the re-index and the folder it goes in.
namespace ReindexListing {

// What the index keeps of the file (its name, time, size, version, folder
// identifier, computer folder and encoded name); none when the line lacks one
// of them, as the index could not keep the file.
std::optional<IndexRows::FileValues> fileRecord(const FileTransferData &line);

// The index path of the file's folder, in the form the client's backups give
// it. Backup mode with a computer folder of the client's own ("/Office"): the
// file's computer folder and the folder below it (a file at the top of
// computer folder Office goes in /Office); otherwise, as in sync mode, the
// folder below the computer folder or the sync root.
QString folderKey(const FileTransferData &line, bool backupMode, const QString &ownComputerFolder);

}  // namespace ReindexListing
