#include "client/browser/views/SearchPageView.h"

#include "client/browser/views/SearchTableModel.h"
#include "client/browser/views/VersionPaneView.h"
#include "client/common/views/ProgressPaneView.h"
#include "desktop/kit/views/TXAnimatedTextField.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The fixed height of a pane below the table.
constexpr int kBelowTableHeight = 220;

}  // namespace

SearchPageView::SearchPageView(SearchController &controller, ProgressViewController &progress, SearchTableModel &model,
                               QWidget *parent)
    : QWidget(parent)
    , mController(controller)
    , mSplitView(new QSplitter(Qt::Vertical, this))
    , mTableView(new QTableView(mSplitView))
    , mProgressPane(new ProgressPaneView(progress, mSplitView))
    , mContinuousProgress(new QProgressBar(this))
    , mOpLabel(new TXAnimatedTextField(this))
    , mOutputLabel(new TXAnimatedTextField(this))
    , mRestoreLocationLabel(new QLabel(tr("Restore location:"), this))
    , mRestoreDestinationLabel(new QLabel(this))
    , mrRestoreDestinationButton(new QPushButton(tr("Browse..."), this))
    , mBackButton(new QPushButton(tr("Back to Restore"), this))
    , mHelpButton(new QPushButton(tr("Help"), this))
    , mDeleteButton(new QPushButton(tr("Delete"), this))
    , mShareButton(new QPushButton(tr("Share"), this))
    , mRestoreButton(new QPushButton(tr("Restore"), this))
    , mRuvoMenu(new QMenu(this))
{
    mTableView->setModel(&model);
    mTableView->setIconSize(QSize(16, 16));
    mTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTableView->setSelectionMode(QAbstractItemView::SingleSelection);
    mTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mTableView->setShowGrid(false);
    mTableView->setWordWrap(false);
    mTableView->setTextElideMode(Qt::ElideMiddle);
    mTableView->verticalHeader()->hide();
    // Rows of one height: the table lays out a large result without measuring every row.
    mTableView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    mTableView->verticalHeader()->setDefaultSectionSize(22);
    QHeaderView *header = mTableView->horizontalHeader();
    header->setSectionResizeMode(SearchTableModel::NameColumn, QHeaderView::Stretch);
    header->resizeSection(SearchTableModel::SizeColumn, 90);
    header->resizeSection(SearchTableModel::VersionColumn, 90);
    header->resizeSection(SearchTableModel::DateColumn, 150);
    mTableView->setContextMenuPolicy(Qt::CustomContextMenu);

    mProgressPane->setFixedHeight(kBelowTableHeight);
    mProgressPane->hide();
    mSplitView->setChildrenCollapsible(false);
    mSplitView->setHandleWidth(1);

    mContinuousProgress->setRange(0, 0);
    mContinuousProgress->setTextVisible(false);
    mContinuousProgress->setFixedSize(80, 12);
    mContinuousProgress->hide();

    mRestoreDestinationLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mRestoreDestinationLabel->setMinimumWidth(120);
    mRestoreDestinationLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    mRestoreButton->setToolTip(tr("Restore files"));

    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(mContinuousProgress);
    statusRow->addWidget(mOpLabel);
    statusRow->addWidget(mOutputLabel, 1);

    auto *destinationRow = new QHBoxLayout;
    destinationRow->addWidget(mRestoreLocationLabel);
    destinationRow->addWidget(mRestoreDestinationLabel, 1);
    destinationRow->addWidget(mrRestoreDestinationButton);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(mBackButton);
    buttonRow->addWidget(mHelpButton);
    buttonRow->addStretch(1);
    buttonRow->addWidget(mDeleteButton);
    buttonRow->addWidget(mShareButton);
    buttonRow->addWidget(mRestoreButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(mSplitView, 1);
    layout->addLayout(statusRow);
    layout->addLayout(destinationRow);
    layout->addLayout(buttonRow);

    const std::pair<SearchController::MenuItem, QString> entries[] = {
        {SearchController::MenuItem::Restore, tr("Restore")},
        {SearchController::MenuItem::Delete, tr("Delete")},
        {SearchController::MenuItem::Versions, tr("Versions")},
        {SearchController::MenuItem::Share, tr("Share")},
    };
    for (const auto &[item, title] : entries) {
        QAction *action = mRuvoMenu->addAction(title);
        action->setData(int(item));
        connect(action, &QAction::triggered, this, [this, item = item] { emit menuItemTriggered(item, mClickedRow); });
    }
    connect(mTableView, &QTableView::customContextMenuRequested, this, [this](const QPoint &at) {
        contextMenuFor(mTableView->indexAt(at).row())->popup(mTableView->viewport()->mapToGlobal(at));
    });
}

QMenu *SearchPageView::contextMenuFor(int row)
{
    mClickedRow = row;
    for (QAction *action : mRuvoMenu->actions())
        action->setEnabled(mController.validateMenuItem(SearchController::MenuItem(action->data().toInt()), row));
    return mRuvoMenu;
}

void SearchPageView::setVersionPane(VersionPaneView *pane)
{
    mVersionPane = pane;
    pane->setFixedHeight(kBelowTableHeight);
    pane->hide();
    mSplitView->addWidget(pane);
}

void SearchPageView::setSpinnerRunning(bool animating) { mContinuousProgress->setVisible(animating); }

void SearchPageView::setOperationName(const QString &text) { mOpLabel->setAnimatedText(text); }

void SearchPageView::displayMessage(const QString &text) { mOutputLabel->setAnimatedText(text); }

void SearchPageView::setVersionColumnHidden(bool hidden)
{
    mTableView->setColumnHidden(SearchTableModel::VersionColumn, hidden);
}

void SearchPageView::setRestoreButtonEnabled(bool enabled)
{
    mRestoreButton->setEnabled(enabled);
    mRestoreButton->setToolTip(enabled ? tr("Restore files") : tr("Restore in progress"));
}

void SearchPageView::setDestinationButtonEnabled(bool enabled) { mrRestoreDestinationButton->setEnabled(enabled); }

void SearchPageView::setDestinationControlsHidden(bool hidden)
{
    mControlsHiddenByPrompt = hidden;
    updateDestinationControls();
}

void SearchPageView::showRestoreDestination(const QString &path)
{
    mRestoreDestinationLabel->setText(path);
    mRestoreDestinationLabel->setToolTip(path);
}

void SearchPageView::setProgressPaneShown(bool shown)
{
    if (shown)
        setVersionPaneShown(false);
    mPaneShown = shown;
    mProgressPane->setVisible(shown);
    updateDestinationControls();
}

void SearchPageView::setVersionPaneShown(bool shown)
{
    if (!mVersionPane)
        return;
    if (shown && mPaneShown)
        setProgressPaneShown(false);
    mVersionPane->setVisible(shown);
}

bool SearchPageView::isVersionPaneShown() const { return mVersionPane && !mVersionPane->isHidden(); }

void SearchPageView::updateDestinationControls()
{
    mrRestoreDestinationButton->setVisible(!mControlsHiddenByPrompt && !mPaneShown);
    mRestoreDestinationLabel->setVisible(!mControlsHiddenByPrompt && !mPaneShown);
    mRestoreLocationLabel->setVisible(!mControlsHiddenByPrompt);
}
