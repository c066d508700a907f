#pragma once

#include "platform/UniqueFd.h"

#include <QString>

#include <optional>

// An advisory lock (flock) on "<path>.lock" beside a file that several
// processes read and rewrite whole, such as the schedules archive that the
// monitor and the backup daemon share. Every party takes it around its
// read-modify-write, so that neither writes over a change it never read.
// The lock file itself stays; it holds nothing. The lock goes with the object,
// or with the process.
class SidecarLock
{
public:
    enum class Mode
    {
        Shared,
        Exclusive
    };

    static QString lockPathFor(const QString &path) { return path + QStringLiteral(".lock"); }

    // Waits until the lock is held; none, with the reason, when the lock file
    // cannot be made or opened (its folder is made first, 0700 for the user).
    static std::optional<SidecarLock> acquire(const QString &path, Mode mode, QString *error = nullptr);
    // Takes the exclusive lock only when nobody holds it: none, with the reason, otherwise.
    static std::optional<SidecarLock> tryAcquire(const QString &path, QString *error = nullptr);

private:
    explicit SidecarLock(UniqueFd fd)
        : mFd(std::move(fd))
    {}
    static std::optional<SidecarLock> lock(const QString &path, int operation, QString *error);

    UniqueFd mFd;  // closing it releases the lock
};
