#pragma once

#include "index/manager/IndexJournalWriter.h"

#include <QString>

#include <optional>

// A tick's backed-up files kept in a private local file (0600) while the
// journal writers are busy, so that they wait on disk rather than in memory.
namespace IndexSpillFile {

// Writes the files into a new file in the folder (made when missing); its
// path, or none when it cannot be written (the caller then keeps them).
std::optional<QString> write(const QString &folder, const BackedUpFiles &files);

// The files kept in the file, which is removed; none when it cannot be read.
std::optional<BackedUpFiles> take(const QString &path);

}  // namespace IndexSpillFile
