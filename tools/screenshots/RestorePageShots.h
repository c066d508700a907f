#pragma once

#include "BackupPageShots.h"

#include "client/browser/host/FolderChooser.h"

struct RestoreTab;

// Folders chosen as a user would: always the home folder's Restored folder.
class RestoredFolderChooser : public FolderChooser
{
public:
    std::optional<QString> chooseFolder(const QString &startFolder) override;
    std::optional<QString> chooseFolderWithPromptBox(const QString &startFolder,
                                                     const std::function<void(bool)> &boxClicked) override;

private:
    static QString folder();
};

// A restore on the signed-in demo account's Restore page, after the Backup page's
// backup: the tree opened down to the backed-up Documents folder with two items
// checked (tree), the progress pane while they come back (running) and the end's
// message (finished).
void saveRestorePage(TXTabViewController &tabs, RestoreTab &restore, PictureAlerts &alerts,
                     const BackupPagePictures &pictures);

// After a second backup of the changed report, with earlier versions kept: the
// version pane of the report while its list is fetched, then with the list.
void saveVersionPane(TXTabViewController &tabs, BackupPage &backup, RestoreTab &restore, PictureAlerts &alerts,
                     const BackupPagePictures &pictures);
