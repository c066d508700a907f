#pragma once

#include <QString>

// The client's small state files (the mode file, control files): one UTF-8
// text each, written atomically into a folder made when missing.
namespace TextFiles {

bool writeAtomically(const QString &path, const QString &text);

}  // namespace TextFiles
