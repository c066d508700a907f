#include "client/backup/views/SetListView.h"

#include "client/backup/setlist/BackupsetViewController.h"
#include "client/backup/views/SetListModel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

SetListView::SetListView(BackupsetViewController &controller, QWidget *parent)
    : QWidget(parent)
    , mController(controller)
    , mBackupsetTableView(new QTableView(this))
    , mDefaultLabel(
          new QLabel(QStringLiteral("Check the files and folders above to add them to your backup set."), this))
    , mDeleteSelectedFiles(new QPushButton(QStringLiteral("Delete"), this))
    , totalBackupSizeButton(new QPushButton(this))
    , mExclusionButton(new QPushButton(QStringLiteral("Exclusions..."), this))
{
    mBackupsetTableView->setModel(new SetListModel(mController, mBackupsetTableView));
    mBackupsetTableView->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    mBackupsetTableView->verticalHeader()->hide();
    mBackupsetTableView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    mBackupsetTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    mBackupsetTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mBackupsetTableView->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *deleteSelected = new QAction(QStringLiteral("Delete selected item(s)"), mBackupsetTableView);
    auto *deleteAll = new QAction(QStringLiteral("Delete all item(s)"), mBackupsetTableView);
    mBackupsetTableView->addActions({deleteSelected, deleteAll});
    mDefaultLabel->setAlignment(Qt::AlignCenter);
    mDefaultLabel->setStyleSheet(QStringLiteral("color: gray;"));
    totalBackupSizeButton->setFlat(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(totalBackupSizeButton);
    buttons->addStretch();
    buttons->addWidget(mExclusionButton);
    buttons->addWidget(mDeleteSelectedFiles);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(mBackupsetTableView, 1);
    layout->addWidget(mDefaultLabel);
    layout->addLayout(buttons);

    const auto deleteRows = [this] { mController.deleteIndexes(selectedRows()); };
    connect(mDeleteSelectedFiles, &QPushButton::clicked, this, deleteRows);
    connect(deleteSelected, &QAction::triggered, this, deleteRows);
    connect(deleteAll, &QAction::triggered, this, [this] { mController.deleteAllItems(); });
    connect(mExclusionButton, &QPushButton::clicked, this, [this] { mController.ViewExclude(); });
    connect(&mController, &BackupsetViewController::rowsChanged, this, &SetListView::reload);
    reload();
}

QList<int> SetListView::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : mBackupsetTableView->selectionModel()->selectedRows())
        rows.append(index.row());
    return rows;
}

void SetListView::reload()
{
    mBackupsetTableView->resizeColumnToContents(1);
    mBackupsetTableView->resizeColumnToContents(2);
    mDefaultLabel->setVisible(mController.isEmptyHintShown());
    totalBackupSizeButton->setText(mController.totalSizeTitle());
    totalBackupSizeButton->setHidden(mController.totalSizeTitle().isEmpty());
    const bool enabled = mController.controlsEnabled();
    mBackupsetTableView->setEnabled(enabled);
    mDeleteSelectedFiles->setEnabled(enabled);
    // The exclusions are the logged-in user's, kept by the monitor.
    mExclusionButton->setEnabled(enabled);
    for (QAction *action : mBackupsetTableView->actions())
        action->setVisible(enabled);
}
