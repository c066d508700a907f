#pragma once

#include <QString>

#include <memory>

class QTemporaryDir;

// The folders that hold what only this user may see or touch: credential
// files for the engine, the messaging sockets, the engine's scratch files.
// One function makes and checks them all.
namespace PrivateFolder {

// The root of such folders: $XDG_RUNTIME_DIR when set (it must belong to this
// user and be closed to others), else a private folder under the user's own
// cache root, never a predictable folder in the shared temporary folder.
QString runtimeRoot();

// Makes the folder (and a missing runtime root) when needed, then checks it:
// a real folder, not a link, owned by this user, mode 0700 (set when looser).
// False with the reason when it cannot be made so; nothing is then written there.
bool ensure(const QString &path, QString *error = nullptr);

// True for a real folder (not a link) that belongs to this user.
bool isOwnFolder(const QString &path);

// The application's own folder in the temporary folder ($TMPDIR or /tmp),
// named with this user's id; the only place there that is the application's.
QString temporaryFolder();

// A new private folder, named by the prefix and a random part, inside
// temporaryFolder() (which is made private first), or beside it when another
// user holds that name; it goes, with what it holds, with the object. None when
// it could not be made.
std::unique_ptr<QTemporaryDir> makeTemporaryFolder(const QString &prefix);

}  // namespace PrivateFolder
