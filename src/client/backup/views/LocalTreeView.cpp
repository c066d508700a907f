#include "client/backup/views/LocalTreeView.h"

#include "client/backup/DestinationVolumes.h"
#include "client/backup/LocalTreeModel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QSignalBlocker>

LocalTreeView::LocalTreeView(LocalTreeModel &model, QWidget *parent)
    : QTreeView(parent)
{
    setModel(&model);
    setUniformRowHeights(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
}

void LocalTreeView::bindVolumesPopUp(QComboBox &popUp, DestinationVolumes &volumes)
{
    const auto showVolumes = [&popUp, &volumes] {
        const QSignalBlocker quiet(&popUp);
        popUp.clear();
        popUp.addItems(volumes.titles());
        popUp.setCurrentIndex(int(volumes.titles().indexOf(volumes.selectedTitle())));
    };
    showVolumes();
    QObject::connect(&volumes, &DestinationVolumes::titlesChanged, &popUp, showVolumes);
    QObject::connect(&volumes, &DestinationVolumes::selectionChanged, &popUp, showVolumes);
    QObject::connect(&popUp, &QComboBox::textActivated, &volumes, &DestinationVolumes::clickedDestMenu);
}
