#pragma once

#include <QString>

// The folders that hold what only this user may see or touch: credential
// files for the engine, the messaging sockets. One function makes and checks
// them all.
namespace PrivateFolder {

// The root of such folders: $XDG_RUNTIME_DIR when set (it must belong to this
// user and be closed to others), else a private folder under the user's own
// cache root, never a predictable folder in the shared temporary folder.
QString runtimeRoot();

// Makes the folder (and a missing runtime root) when needed, then checks it:
// a real folder, not a link, owned by this user, mode 0700 (set when looser).
// False with the reason when it cannot be made so; nothing is then written there.
bool ensure(const QString &path, QString *error = nullptr);

}  // namespace PrivateFolder
