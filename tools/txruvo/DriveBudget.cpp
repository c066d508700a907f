#include "txruvo/DriveBudget.h"

#include <algorithm>

DriveBudget::DriveBudget(std::optional<quint64> capacity)
    : mLeft(capacity)
{}

quint64 DriveBudget::grant(quint64 wanted)
{
    QMutexLocker locker(&mLock);
    return mLeft ? std::min(wanted, *mLeft) : wanted;
}

void DriveBudget::spend(quint64 bytes)
{
    QMutexLocker locker(&mLock);
    if (mLeft)
        *mLeft -= std::min(bytes, *mLeft);
}
