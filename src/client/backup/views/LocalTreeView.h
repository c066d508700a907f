#pragma once

#include <QTreeView>

class DestinationVolumes;
class LocalTreeModel;
class QComboBox;

// The Backup tab's local tree: the disks with a check box per item.
class LocalTreeView : public QTreeView
{
public:
    explicit LocalTreeView(LocalTreeModel &model, QWidget *parent = nullptr);

    // The destination chooser follows the drives and the choice; a pick of the user is the user's choice.
    static void bindVolumesPopUp(QComboBox &popUp, DestinationVolumes &volumes);
};
