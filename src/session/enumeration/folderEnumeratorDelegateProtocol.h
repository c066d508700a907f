#pragma once

#include "session/enumeration/FoundFile.h"

#include <QString>

class FolderEnumerator;

// What a folder walk reports, always on the walking thread. Every callback
// has an empty default: the size column listens for sizes alone. Sizes are 0
// when the walk was told not to measure files.
class folderEnumeratorDelegateProtocol
{
public:
    virtual ~folderEnumeratorDelegateProtocol() = default;

    // Before each selected path.
    virtual void willStartSizeCalculationForFolder(const QString &) {}
    // Each file, when files are reported singly.
    virtual void didFoundFile(const QString &, quint64) {}
    // A folder batch (sync mode): the files and the folder that holds the batch's top.
    virtual void didEndFolderEnumeration(const FoundFiles &, const QString &) {}
    // After each selected path, with its bytes.
    virtual void didCalculateSizeofFolder(const QString &, quint64) {}
    // A size calculation: after each path, with the list's first path.
    virtual void didCalculateSizeofFolderOfList(quint64, const QString &, FolderEnumerator *) {}
    // A folder that could not be read, or an item whose name is not UTF-8: it is left out.
    virtual void didEncounterError(const QString &, const QString &) {}
    // A folder below the selection where a file system other than a local
    // disk's is mounted: it is not walked.
    virtual void didSkipMountPoint(const QString &, const QString &) {}
    // The walk is over (also after a stop of a backup walk).
    virtual void didEndCalculation() {}
};
