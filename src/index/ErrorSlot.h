#pragma once

#include <QString>

// Fills an optional error slot; callers that pass none are not interested.
inline void fillErrorSlot(QString *slot, const QString &text)
{
    if (slot)
        *slot = text;
}
