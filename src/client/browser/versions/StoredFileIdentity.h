#pragma once

#include <QString>

// A stored file as the engine knows it: where its versions lie on the drive.
// The destination tree looks it up in the index; a search result carries it.
struct StoredFileIdentity
{
    QString displayPath;  // the file's path as the user sees it ("/Users/ann/a.txt")
    QString folderID;
    QString encFilename;
    QString mpcName;  // "/" and the computer folder the file was backed up from

    bool operator==(const StoredFileIdentity &) const = default;
};
