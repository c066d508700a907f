#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>

#include <sys/stat.h>

// Thin helpers over the C library for the hot paths, where Qt's file
// classes would cost more calls per file than the copy itself.
namespace Posix {

inline QByteArray native(const QString &path) { return QFile::encodeName(path); }
inline QString fromNative(const QByteArray &path) { return QFile::decodeName(path); }
QString errorText(int error);

bool statPath(const QString &path, struct stat *status);   // follows links
bool lstatPath(const QString &path, struct stat *status);  // does not
bool exists(const QString &path);
bool sameContentStamp(const struct stat &a, const struct stat &b);  // size and modification time
// The text of a link, not followed.
std::optional<QByteArray> readLink(const QString &path);
std::optional<QByteArray> readLinkAt(int folderFd, const QByteArray &name);
// Whether two items (as lstat saw them) hold the same: two regular files of
// the same size and modification time, or two links with the same text.
bool sameItemContent(const QString &pathA, const struct stat &a, const QString &pathB, const struct stat &b);
// A name in a folder open as a descriptor (AT_FDCWD: a path).
struct FolderEntry
{
    int folderFd;
    QByteArray name;
};
bool sameItemContent(const FolderEntry &entryA, const struct stat &a, const FolderEntry &entryB, const struct stat &b);

// Small whole-file reads and writes (markers); the write is one call.
std::optional<QByteArray> readSmall(const QString &path);
bool writeSmall(const QString &path, const QByteArray &content);
std::optional<QByteArray> readSmall(const FolderEntry &entry);
// modified: the modification time to give the file, when not now.
bool writeSmall(const FolderEntry &entry, const QByteArray &content, const struct timespec *modified = nullptr);

// The names in a folder, "." and ".." left out; none when it cannot be read.
QStringList namesIn(const QString &folder);

// Creates the folder and its missing parents with `mode` (less the umask);
// errno is set on failure. `made`, when given, gets each folder this call
// created (another thread that made one first keeps it).
bool makeFolders(const QString &path, mode_t mode = 0755, QStringList *made = nullptr);

// Puts `from` at `to` without losing `from` on the way: a hard link when the
// drive has them, else a rename. Fails (errno EEXIST) when `to` exists and
// links are available.
bool linkOrMove(const QString &from, const QString &to);

// How many files this process may hold open, raised first to the most it is allowed.
qsizetype openFileLimit();

// A fresh name for a temporary file in the folder: ".txruvo-<pid>-<n>.part",
// unique across the threads of this process.
QString temporaryPath(const QString &folder);

QString fileName(const QString &path);
QString parentOf(const QString &path);

}  // namespace Posix
