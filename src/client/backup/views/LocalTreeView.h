#pragma once

#include <QTreeView>

class DestinationVolumes;
class LocalTreeModel;
class QComboBox;

// The Backup tab's local tree: the disks with a check box, an image and the
// name per item, under a header with the computer's image.
class LocalTreeView : public QTreeView
{
public:
    explicit LocalTreeView(LocalTreeModel &model, QWidget *parent = nullptr);

    // A drive, a folder, a file, or a link to either (the arrowed images).
    QIcon imageFor(const QModelIndex &index) const;

    // The destination chooser follows the drives and the choice; a pick of the user is the user's choice.
    static void bindVolumesPopUp(QComboBox &popUp, DestinationVolumes &volumes);
};
