#pragma once

#include <QMutex>

// A value that several threads read and write whole: every get and set takes
// the value's own lock. Copying copies the value, never the lock.
template <typename T>
class Guarded
{
public:
    Guarded() = default;
    Guarded(const Guarded &other)
        : mValue(other.get())
    {}
    Guarded &operator=(const Guarded &other)
    {
        if (this != &other)
            set(other.get());
        return *this;
    }

    T get() const
    {
        QMutexLocker lock(&mMutex);
        return mValue;
    }
    void set(const T &value)
    {
        QMutexLocker lock(&mMutex);
        mValue = value;
    }

private:
    mutable QMutex mMutex;
    T mValue{};
};
