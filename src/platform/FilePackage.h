#pragma once

#include <QString>

namespace FilePackage {

// Linux has no packages: a package here is a folder whose name carries one of
// the extensions that the Mac desktop shows as a single document or program
// ("Mail.app", "Notes.rtfd"), the form in which such items reach this machine.
// Symbolic links are followed; a missing path or a plain file is no package.
bool isFilePackage(const QString &path);

}  // namespace FilePackage
