#include "client/browser/views/RestorePageView.h"

#include "client/browser/operations/RemoteOperations.h"
#include "client/browser/restore/RestoreController.h"
#include "client/browser/views/GuideImageView.h"
#include "client/browser/views/RemoteContextMenu.h"
#include "client/browser/views/RemoteTreeModel.h"
#include "client/browser/views/VersionPaneView.h"
#include "client/common/views/ProgressPaneView.h"
#include "desktop/kit/views/TXAnimatedTextField.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// The pane's fixed height below the tree.
constexpr int kPaneHeight = 220;

// Where the Restore guide's first image lies over the tree, and the guides' opacities.
constexpr int kGuideLeftOffset = 125;
constexpr int kGuideHeightsAboveBottom = 4;
constexpr qreal kRemoteGuideAlpha = 0.9;
constexpr qreal kFirstGuideImageAlpha = 0.8;
constexpr qreal kRefreshGuideAlpha = 0.92;

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
    , mContinuousProgress(new QProgressBar(this))
    , mOpLabel(new QLabel(this))
    , mDeleteButton(new QPushButton(tr("Delete"), this))
    , mShareButton(new QPushButton(tr("Share"), this))
    , mImgView1(new GuideImageView(tr("Check the items to restore"), GuideImageView::Arrow::UpLeft, mOutlineView))
    , mImgView2(new GuideImageView(tr("Your items are restored here"), GuideImageView::Arrow::DownLeft, this))
    , mImgView3(new GuideImageView(tr("Then click Restore"), GuideImageView::Arrow::DownRight, this))
    , mImgViewRefreshGuide(new GuideImageView(tr("Refresh the list to see your latest backup"),
                                              GuideImageView::Arrow::UpLeft, mOutlineView))
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

    // The spinner runs without a figure while an operation on stored items runs.
    mContinuousProgress->setRange(0, 0);
    mContinuousProgress->setTextVisible(false);
    mContinuousProgress->setFixedSize(60, 10);
    mContinuousProgress->hide();
    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(mContinuousProgress);
    statusRow->addWidget(mOpLabel);
    statusRow->addWidget(mOutputLabel, 1);
    mDeleteButton->hide();
    mShareButton->hide();

    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(mDeleteButton);
    bottomRow->addWidget(mShareButton);
    bottomRow->addWidget(mRestoreLocationLabel);
    bottomRow->addWidget(mRestoreDestinationLabel, 1);
    bottomRow->addWidget(mrRestoreDestinationButton);
    bottomRow->addWidget(mRestoreButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(mSplitView, 1);
    layout->addLayout(statusRow);
    layout->addLayout(bottomRow);

    connect(mRestoreButton, &QPushButton::clicked, &controller, &RestoreController::RstoreFileFromServer);
    connect(mrRestoreDestinationButton, &QPushButton::clicked, &controller, &RestoreController::openPanel);
    connect(&model, &RemoteTreeModel::statusMessage, mOutputLabel, &TXAnimatedTextField::setAnimatedText);
    // A double click opens or closes a folder; a click on a row's box is the box's own.
    connect(mOutlineView, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
        const QModelIndex row = index.siblingAtColumn(0);
        mOutlineView->setExpanded(row, !mOutlineView->isExpanded(row));
    });
    for (QWidget *watched : {static_cast<QWidget *>(mOutlineView), static_cast<QWidget *>(mRestoreButton)})
        watched->installEventFilter(this);
}

void RestorePageView::attachOperations(RemoteOperations &operations, RemoteTreeModel &model)
{
    mContextMenu = new RemoteContextMenu(*mOutlineView, model, operations);
    mOutlineView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    model.setRenamer(
        [&operations](const TreeViewNode &node, const QString &name) { operations.rename().renameItem(node, name); });
    model.setExpansionGuard(
        [&operations](const TreeViewNode &folder) { return operations.rename().mayExpand(folder); });
    // A folder listed before its rename began does not open while it runs either.
    connect(mOutlineView, &QTreeView::expanded, this, [this, &operations, &model](const QModelIndex &index) {
        if (!operations.rename().mayExpand(*model.nodeAt(index)))
            mOutlineView->collapse(index);
    });
    connect(mDeleteButton, &QPushButton::clicked, &operations,
            [&operations] { operations.deletion().deleteFileFromServer(); });
    connect(mShareButton, &QPushButton::clicked, &operations, [&operations] { operations.share().shareFile(); });
    mDeleteButton->show();
    mShareButton->show();
    operations.setView(this);
}

void RestorePageView::setSpinnerRunning(bool running) { mContinuousProgress->setVisible(running); }

void RestorePageView::setOperationName(const QString &text) { mOpLabel->setText(text); }

void RestorePageView::displayMessage(const QString &text) { mOutputLabel->setAnimatedText(text); }

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
    if (shown)
        setVersionPaneShown(false);
    mPaneShown = shown;
    mProgressPane->setVisible(shown);
    mRestoreButton->setVisible(!shown);
    updateDestinationControls();
}

void RestorePageView::setVersionPane(VersionPaneView *pane)
{
    mVersionPane = pane;
    pane->hide();
    mSplitView->addWidget(pane);
}

void RestorePageView::setVersionPaneShown(bool shown)
{
    if (!mVersionPane)
        return;
    if (shown && mPaneShown)
        setProgressPaneShown(false);
    mVersionPane->setVisible(shown);
}

bool RestorePageView::isVersionPaneShown() const { return mVersionPane && !mVersionPane->isHidden(); }

void RestorePageView::updateDestinationControls()
{
    mrRestoreDestinationButton->setVisible(!mControlsHiddenByPrompt && !mPaneShown);
    mRestoreDestinationLabel->setVisible(!mControlsHiddenByPrompt && !mPaneShown);
    mRestoreLocationLabel->setVisible(!mControlsHiddenByPrompt);
}

void RestorePageView::setRemoteGuideShown(bool shown)
{
    for (GuideImageView *image : remoteGuideImages()) {
        image->setAlphaValue(kRemoteGuideAlpha);
        image->setVisible(shown);
        image->raise();
    }
    mImgView1->setAlphaValue(kFirstGuideImageAlpha);
    // The destination's callout points at controls that the prompt preference may hide.
    mImgView2->setVisible(shown && mRestoreLocationLabel->isVisible());
    placeGuides();
}

void RestorePageView::setRefreshGuideShown(bool shown)
{
    mImgViewRefreshGuide->setAlphaValue(kRefreshGuideAlpha);
    mImgViewRefreshGuide->setVisible(shown);
    mImgViewRefreshGuide->raise();
    placeGuides();
}

bool RestorePageView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
        placeGuides();
    return QWidget::eventFilter(watched, event);
}

void RestorePageView::placeGuides()
{
    // The three images take the size of the widest, so that they read as one set.
    QSize size;
    for (const GuideImageView *image : remoteGuideImages())
        size = size.expandedTo(image->sizeHint());
    for (GuideImageView *image : remoteGuideImages())
        image->resize(size);
    mImgView1->move(mOutlineView->x() + kGuideLeftOffset,
                    mOutlineView->height() - kGuideHeightsAboveBottom * mImgView2->height());
    const int aboveRow = mRestoreButton->y() - size.height() - 2;
    mImgView2->move(mRestoreLocationLabel->x(), aboveRow);
    mImgView3->move(mRestoreButton->geometry().right() - size.width(), aboveRow);
    mImgViewRefreshGuide->resize(mImgViewRefreshGuide->sizeHint());
    mImgViewRefreshGuide->move(mOutlineView->x() + kGuideLeftOffset, mOutlineView->header()->height() + 4);
}
