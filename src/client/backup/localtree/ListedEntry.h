#pragma once

#include "client/common/tree/TreeViewNode.h"

#include <QString>
#include <QVector>

// How the tree shows modification dates.
inline const QString kListingDateFormat = QStringLiteral("MM/dd/yyyy HH:mm:ss");

// One item of a listed folder, read on a listing thread.
struct ListedEntry
{
    QString name;
    bool isDir = false;  // a link to a folder is not one
    TreeViewNode::Link link = TreeViewNode::Link::NotALink;
    QString sizeText;  // formatted for the size column; "-" for folders, empty for links
    QString dateText;  // "MM/dd/yyyy HH:mm:ss"
    bool isUserExcluded = false;
};

// What a listing thread hands back to the main thread.
struct FolderListing
{
    QString folderPath;      // tree path of the listed folder
    quint64 generation = 0;  // the tree generation the listing was started in
    bool folderGone = false;
    bool cancelled = false;
    QVector<ListedEntry> entries;  // in sibling order
};
