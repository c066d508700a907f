#include "client/browser/views/RestorePageView.h"

#include "client/browser/restore/RestoreController.h"
#include "client/browser/views/RemoteTreeModel.h"
#include "client/common/views/ProgressPaneView.h"
#include "desktop/kit/views/TXAnimatedTextField.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// The pane's fixed height below the tree.
constexpr int kPaneHeight = 220;

}  // namespace

RestorePageView::RestorePageView(RestoreController &controller, RemoteTreeModel &model, QWidget *parent)
    : QWidget(parent)
    , mSplitView(new QSplitter(Qt::Vertical, this))
    , mOutlineView(new QTreeView(mSplitView))
    , mProgressPane(new ProgressPaneView(controller.progressViewController(), mSplitView))
    , mRestoreButton(new QPushButton(tr("Restore"), this))
    , mrRestoreDestinationButton(new QPushButton(tr("Browse..."), this))
    , mRestoreLocationLabel(new QLabel(tr("Restore location:"), this))
    , mRestoreDestinationLabel(new QLabel(this))
    , mOutputLabel(new TXAnimatedTextField(this))
{
    mOutlineView->setModel(&model);
    mOutlineView->setUniformRowHeights(true);
    mOutlineView->setIconSize(QSize(16, 16));
    mOutlineView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView *header = mOutlineView->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(RemoteTreeModel::NameColumn, QHeaderView::Stretch);
    header->resizeSection(RemoteTreeModel::CheckColumn, 56);
    header->resizeSection(RemoteTreeModel::SizeColumn, 90);
    header->resizeSection(RemoteTreeModel::DateColumn, 200);
    header->resizeSection(RemoteTreeModel::VersionColumn, 70);
    mOutlineView->setTreePosition(RemoteTreeModel::NameColumn);

    mProgressPane->setFixedHeight(kPaneHeight);
    mProgressPane->hide();
    mSplitView->setChildrenCollapsible(false);
    mSplitView->setHandleWidth(1);

    mRestoreDestinationLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mRestoreDestinationLabel->setMinimumWidth(120);
    mRestoreDestinationLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(mRestoreLocationLabel);
    bottomRow->addWidget(mRestoreDestinationLabel, 1);
    bottomRow->addWidget(mrRestoreDestinationButton);
    bottomRow->addWidget(mRestoreButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(mSplitView, 1);
    layout->addWidget(mOutputLabel);
    layout->addLayout(bottomRow);

    connect(mRestoreButton, &QPushButton::clicked, &controller, &RestoreController::RstoreFileFromServer);
    connect(mrRestoreDestinationButton, &QPushButton::clicked, &controller, &RestoreController::openPanel);
    connect(&model, &RemoteTreeModel::statusMessage, mOutputLabel, &TXAnimatedTextField::setAnimatedText);
    // A double click opens or closes a folder; a click on a row's box is the box's own.
    connect(mOutlineView, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
        const QModelIndex row = index.siblingAtColumn(0);
        mOutlineView->setExpanded(row, !mOutlineView->isExpanded(row));
    });
}

void RestorePageView::setRestoreButtonEnabled(bool enabled) { mRestoreButton->setEnabled(enabled); }

void RestorePageView::setDestinationButtonEnabled(bool enabled) { mrRestoreDestinationButton->setEnabled(enabled); }

void RestorePageView::setDestinationControlsHidden(bool hidden)
{
    mControlsHiddenByPrompt = hidden;
    updateDestinationControls();
}

void RestorePageView::showRestoreDestination(const QString &path)
{
    mRestoreDestinationLabel->setText(path);
    mRestoreDestinationLabel->setToolTip(path);
}

void RestorePageView::setProgressPaneShown(bool shown)
{
    mPaneShown = shown;
    mProgressPane->setVisible(shown);
    mRestoreButton->setVisible(!shown);
    updateDestinationControls();
}

void RestorePageView::updateDestinationControls()
{
    mrRestoreDestinationButton->setVisible(!mControlsHiddenByPrompt && !mPaneShown);
    mRestoreDestinationLabel->setVisible(!mControlsHiddenByPrompt && !mPaneShown);
    mRestoreLocationLabel->setVisible(!mControlsHiddenByPrompt);
}
