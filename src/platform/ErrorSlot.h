#pragma once

#include <QString>

// The optional error slot of an operation that reports why it failed through a
// QString pointer; callers that pass none are not interested.
namespace ErrorSlot {

inline void fill(QString *slot, const QString &text)
{
    if (slot)
        *slot = text;
}

}  // namespace ErrorSlot
