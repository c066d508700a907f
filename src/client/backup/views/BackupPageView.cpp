#include "client/backup/views/BackupPageView.h"

#include "client/backup/now/BackupViewController.h"
#include "client/common/views/ProgressPaneView.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr int kSetListHeight = 200;  // the lower pane's first height; the tree takes the rest

}  // namespace

BackupPageView::BackupPageView(BackupViewController &controller, QWidget *parent)
    : QWidget(parent)
    , mSplitView(new QSplitter(Qt::Vertical, this))
    , mTreeSlot(new QWidget(mSplitView))
    , mLowerPane(new QStackedWidget(mSplitView))
    , mProgressPane(new ProgressPaneView(controller.progressViewController(), mLowerPane))
    , mFooter(new QWidget(this))
    , mVolumesLable(new QLabel(QStringLiteral("Backup location:"), mFooter))
    , mVolumesPopUp(new QComboBox(mFooter))
    , mBackupPathLable(new QLabel(mFooter))
    , mBackupButton(new QPushButton(QStringLiteral("Backup Now"), mFooter))
    , mArchiveCleanupButton(new QPushButton(QStringLiteral("Cleanup Now"), mFooter))
{
    new QVBoxLayout(mTreeSlot);
    mTreeSlot->layout()->setContentsMargins(0, 0, 0, 0);
    mLowerPane->addWidget(mProgressPane);
    mSplitView->setChildrenCollapsible(false);
    mSplitView->setStretchFactor(0, 1);
    mVolumesPopUp->setMinimumWidth(160);
    mBackupPathLable->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The label takes the room the footer leaves; its path is shortened to fit.
    mBackupPathLable->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    mBackupPathLable->installEventFilter(this);
    mBackupButton->setDefault(true);

    auto *footer = new QHBoxLayout(mFooter);
    footer->setContentsMargins(12, 6, 12, 6);
    footer->addWidget(mVolumesLable);
    footer->addWidget(mVolumesPopUp);
    footer->addWidget(mBackupPathLable, 1);
    footer->addWidget(mArchiveCleanupButton);
    footer->addWidget(mBackupButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mSplitView, 1);
    layout->addWidget(mFooter);

    connect(mBackupButton, &QPushButton::clicked, &controller, &BackupViewController::backupNow);
    controller.setView(this);
}

void BackupPageView::setTreeView(QWidget *tree)
{
    tree->setParent(mTreeSlot);
    mTreeSlot->layout()->addWidget(tree);
}

void BackupPageView::setTreeEnabled(bool enabled) { mTreeSlot->setEnabled(enabled); }

void BackupPageView::setSetListViews(QWidget *backupSetList, QWidget *syncSetList)
{
    mBackupSetList = backupSetList;
    mSyncSetList = syncSetList;
    for (QWidget *list : {backupSetList, syncSetList})
        if (list)
            mLowerPane->addWidget(list);
    showSetList(true);
}

void BackupPageView::setBackupButtonEnabled(bool enabled) { mBackupButton->setEnabled(enabled); }

void BackupPageView::showProgressPane()
{
    mLowerPane->setCurrentWidget(mProgressPane);
    mBackupButton->hide();
    mArchiveCleanupButton->hide();
    mVolumesLable->hide();
    mVolumesPopUp->hide();
    mBackupPathLable->hide();
}

void BackupPageView::showSetList(bool backupMode)
{
    if (QWidget *list = backupMode ? mBackupSetList : mSyncSetList)
        mLowerPane->setCurrentWidget(list);
    mBackupButton->show();
    mArchiveCleanupButton->show();
    mVolumesLable->show();
    mVolumesPopUp->show();
    mBackupPathLable->show();
    mSplitView->setSizes({qMax(1, mSplitView->height() - kSetListHeight), kSetListHeight});
}

void BackupPageView::setVolumeChooserEnabled(bool enabled) { mVolumesPopUp->setEnabled(enabled); }

void BackupPageView::setBackupPathLabelHidden(bool hidden) { mBackupPathLable->setHidden(hidden); }

void BackupPageView::setBackupPath(const QString &path)
{
    mBackupPath = path;
    mBackupPathLable->setToolTip(path);
    fitBackupPath();
}

bool BackupPageView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mBackupPathLable && event->type() == QEvent::Resize)
        fitBackupPath();
    return QWidget::eventFilter(watched, event);
}

void BackupPageView::fitBackupPath()
{
    mBackupPathLable->setText(
        mBackupPathLable->fontMetrics().elidedText(mBackupPath, Qt::ElideMiddle, qMax(40, mBackupPathLable->width())));
}
