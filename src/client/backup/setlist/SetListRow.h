#pragma once

#include <QString>

// One item of the saved set as its list shows it.
struct SetListRow
{
    QString path;
    QString size;      // formatted, or "--" while not sized
    QString modified;  // "MM/dd/yyyy HH:mm:ss"; "" for an item no longer on disk
    bool isFolder = false;

    bool operator==(const SetListRow &) const = default;
};
