#pragma once

#include "common/transfer/FileSystemNode.h"
#include "index/IndexEntry.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// Where the versions of a stored file come from: the index's record of a path,
// then the engine's list of the versions kept on the drive. Both answer once, on
// the main thread; the program's source runs the index search and the engine's
// version list, tests answer by hand.
class VersionSource
{
public:
    struct Lookup
    {
        std::optional<IndexEntry> firstRow;  // none when the index has no record of the path
        QString error;                       // the index could not be searched
    };
    struct ListRequest
    {
        QString serverPath;   // "/<folderID>/<encFilename>"
        QString mpcName;      // the computer folder the rows belong to
        QString destination;  // the computer folder on the drive
        bool operator==(const ListRequest &) const = default;
    };
    struct List
    {
        bool succeeded = false;
        QList<FileSystemNode> versions;
        QString error;
    };

    virtual ~VersionSource() = default;

    // The record of a stored file ("/Users/ann/a.txt").
    virtual void lookUp(const QString &indexPath, std::function<void(const Lookup &)> done) = 0;
    virtual void listVersions(const ListRequest &request, std::function<void(const List &)> done) = 0;
};
