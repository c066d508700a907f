#pragma once

#include <QString>

// Which entries of the destination tree's context menu are enabled for the row
// the menu was opened on (or for no row). Pure: the menu asks it each time it opens.
namespace RemoteMenuRules {

enum class Action
{
    Refresh,
    FolderSize,
    Versions,
    Rename,
    Delete,
    Share,
    SearchInFolder,
    ReIndex
};

struct Context
{
    bool hasClickedRow = false;
    bool isFolder = false;
    QString versionText;  // the clicked file's version column
    bool isRuvoUser = false;
    bool operationActive = false;
};

// Folder size, search and refresh: a folder. Versions: a file with two or more versions
// of a storage-server account. Rename and delete: a storage-server account. Share: any
// clicked item. Re-index: nothing running. Without a row: refresh, and re-index when idle.
bool isEnabled(Action action, const Context &context);

}  // namespace RemoteMenuRules
