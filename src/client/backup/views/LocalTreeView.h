#pragma once

#include <QTreeView>

class DestinationVolumes;
class FileSystemController;
class LocalTreeModel;
class QComboBox;
class QMenu;

// The Backup tab's local tree: the disks with a check box, an image and the
// name per item, under a header with the computer's image.
class LocalTreeView : public QTreeView
{
public:
    explicit LocalTreeView(LocalTreeModel &model, QWidget *parent = nullptr);

    // The rows' context menu acts on the tree's controller: "Refresh" for a folder, and
    // the row's exclusion ("Exclude this folder from backup", "Remove this file from exclude", ...).
    void setContextActions(FileSystemController &fileSystem);
    // The context menu of a row, its items set for the row; null without a row or while the tree is disabled.
    QMenu *contextMenuFor(const QModelIndex &index);

    // A drive, a folder, a file, or a link to either (the arrowed images).
    QIcon imageFor(const QModelIndex &index) const;

    // The destination chooser follows the drives and the choice; a pick of the user is the user's choice.
    static void bindVolumesPopUp(QComboBox &popUp, DestinationVolumes &volumes);

private:
    FileSystemController *mFileSystem = nullptr;
    QMenu *mContextMenu;
};
