#include "client/backup/views/LocalTreeView.h"

#include "client/backup/localtree/DestinationVolumes.h"
#include "client/backup/localtree/FileSystemController.h"
#include "client/backup/localtree/LocalTreeModel.h"
#include "client/backup/views/CustomNSTableColumn.h"
#include "client/backup/views/ImageAndTextAndCheckBox.h"
#include "client/backup/views/OutlineHeaderView.h"
#include "client/common/tree/TreeViewNode.h"

#include <QComboBox>
#include <QHeaderView>
#include <QMenu>
#include <QSignalBlocker>
#include <QStyle>

LocalTreeView::LocalTreeView(LocalTreeModel &model, QWidget *parent)
    : QTreeView(parent)
    , mContextMenu(new QMenu(this))
{
    setHeader(new OutlineHeaderView(this));
    setModel(&model);
    auto *nameCell = new ImageAndTextAndCheckBox(LocalTreeModel::IsExcludedRole,
                                                 [this](const QModelIndex &index) { return imageFor(index); });
    setItemDelegateForColumn(LocalTreeModel::FileNameColumn,
                             new CustomNSTableColumn(nameCell, LocalTreeModel::IsPlaceholderRole, this));
    setUniformRowHeights(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    // The size and date columns fit their longest texts ("1023.99 MB", "12/31/2026 23:59:59").
    const int padding = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin) + 8;
    header()->resizeSection(1, fontMetrics().horizontalAdvance(QStringLiteral("8888.88 MB")) + padding);
    header()->resizeSection(2, fontMetrics().horizontalAdvance(QStringLiteral("88/88/8888 88:88:88")) + padding);
}

void LocalTreeView::setContextActions(FileSystemController &fileSystem)
{
    mFileSystem = &fileSystem;
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint &position) {
        if (QMenu *menu = contextMenuFor(indexAt(position)))
            menu->popup(viewport()->mapToGlobal(position));
    });
}

QMenu *LocalTreeView::contextMenuFor(const QModelIndex &index)
{
    auto &model = static_cast<LocalTreeModel &>(*this->model());
    TreeViewNode *node = model.nodeForIndex(index);
    if (!mFileSystem || !isEnabled() || !index.isValid() || !node || node->isPlaceholder())
        return nullptr;
    mContextMenu->clear();
    FileSystemController &fileSystem = *mFileSystem;
    QAction *refresh =
        mContextMenu->addAction(QStringLiteral("Refresh"), this, [&fileSystem, node] { fileSystem.refreshNode(node); });
    refresh->setEnabled(fileSystem.canRefreshNode(node));
    mContextMenu->addAction(fileSystem.excludeMenuTitle(node), this,
                            [&fileSystem, node] { fileSystem.excludefilePath(node); });
    return mContextMenu;
}

QIcon LocalTreeView::imageFor(const QModelIndex &index) const
{
    using Link = TreeViewNode::Link;
    switch (Link(index.data(LocalTreeModel::LinkRole).toInt())) {
    case Link::ToFolder:
        return style()->standardIcon(QStyle::SP_DirLinkIcon);
    case Link::ToFile:
        return style()->standardIcon(QStyle::SP_FileLinkIcon);
    case Link::NotALink:
        break;
    }
    if (index.data(LocalTreeModel::IsVolumeRole).toBool())
        return style()->standardIcon(QStyle::SP_DriveHDIcon);
    return style()->standardIcon(index.data(LocalTreeModel::IsDirectoryRole).toBool() ? QStyle::SP_DirIcon
                                                                                      : QStyle::SP_FileIcon);
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
