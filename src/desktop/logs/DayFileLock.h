#pragma once

#include <QString>

// Holds the lock of a folder of day files while it lives: appends and the
// rewrite after a delete take turns, in this program and in any other, so no
// record is lost between a read and a write. The lock is a file of its own
// (".lock" in the folder) because a rewrite replaces the day file.
class DayFileLock
{
public:
    explicit DayFileLock(const QString &folder);
    ~DayFileLock();

    DayFileLock(const DayFileLock &) = delete;
    DayFileLock &operator=(const DayFileLock &) = delete;

private:
    int mFd = -1;
};
