#pragma once

#include <QMutex>
#include <QtGlobal>

#include <optional>

// Test hook behind the scenario's "driveCapacity": the bytes a run may still
// write before the drive counts as full. Without a capacity it grants
// everything. Shared by all copies of a run, from any thread.
class DriveBudget
{
public:
    explicit DriveBudget(std::optional<quint64> capacity);

    // How many of `wanted` bytes may be written now; 0 means the drive is full.
    quint64 grant(quint64 wanted);
    // Counts bytes written.
    void spend(quint64 bytes);

private:
    QMutex mLock;
    std::optional<quint64> mLeft;
};
