#pragma once

#include "client/backup/localtree/LocalTreeConnection.h"
#include "client/backup/views/BackupPage.h"
#include "common/volumes/LocalVolumeLayout.h"

class AlertPresenter;
class ClientShell;
class LocalTreeView;

// The Backup tab as the program builds it, in one place for the program, its tests and
// its screenshots: the page over the shell's main controller and sidebar, the local tree
// over the volumes of a layout, the tree's view and volume chooser, and the page handed
// to the tab view.
struct BackupTab
{
    // The tab's messages go to alerts, or else to the shell's alert panel.
    explicit BackupTab(ClientShell &shell, AlertPresenter *alerts = nullptr,
                       const LocalVolumeLayout &layout = LocalVolumeLayout::current());

    BackupPage backup;
    LocalTreeConnection tree;
    LocalTreeView *treeView;  // owned by the page
};
