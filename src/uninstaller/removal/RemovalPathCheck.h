#pragma once

#include <QString>

// Whether a path may be removed by the uninstaller: it must be absolute and
// name something below the roots, never a root itself or a folder above one
// (the home folder, the XDG folders, the support, volumes, program and
// temporary roots, "/"). Returns why not, or "" when it may.
namespace RemovalPathCheck {

QString refusal(const QString &path);

}  // namespace RemovalPathCheck
