#pragma once

#include "client/browser/guides/RemoteGuideController.h"
#include "client/browser/operations/RemoteActivityView.h"
#include "client/browser/restore/RestoreView.h"
#include "client/browser/views/PagePanes.h"

#include <QWidget>

class GuideImageView;
class ProgressPaneView;
class QLabel;
class QProgressBar;
class QPushButton;
class RemoteContextMenu;
class RemoteOperations;
class QSplitter;
class QTreeView;
class RemoteTreeModel;
class RestoreController;
class TXAnimatedTextField;
class VersionPaneView;

// The Restore page: the destination tree above, the progress pane below it while
// a restore runs, the status line, and the bottom row with the Restore button and
// the destination controls; the first-use guides lie over them when shown. The
// tree's operations add its context menu, the Delete and Share buttons, the
// spinner and the operation line.
class RestorePageView : public QWidget,
                        public RestoreView,
                        public RemoteGuideView,
                        public RemoteActivityView,
                        public PagePanes
{
    Q_OBJECT

public:
    RestorePageView(RestoreController &controller, RemoteTreeModel &model, QWidget *parent = nullptr);

    QTreeView *treeView() const { return mOutlineView; }
    QPushButton *restoreButton() const { return mRestoreButton; }
    QPushButton *destinationButton() const { return mrRestoreDestinationButton; }
    QLabel *destinationLabel() const { return mRestoreDestinationLabel; }
    ProgressPaneView *progressPane() const { return mProgressPane; }
    VersionPaneView *versionPane() const { return mVersionPane; }
    TXAnimatedTextField *statusLine() const { return mOutputLabel; }
    // The Restore guide's three images and the refresh guide's image.
    QList<GuideImageView *> remoteGuideImages() const { return {mImgView1, mImgView2, mImgView3}; }
    GuideImageView *refreshGuideImage() const { return mImgViewRefreshGuide; }
    QPushButton *deleteButton() const { return mDeleteButton; }
    QPushButton *shareButton() const { return mShareButton; }
    QProgressBar *spinner() const { return mContinuousProgress; }
    QLabel *operationLine() const { return mOpLabel; }
    RemoteContextMenu *contextMenu() const { return mContextMenu; }

    // The tree's operations: its menu, the name editing, the buttons and the expansion guard.
    void attachOperations(RemoteOperations &operations, RemoteTreeModel &model);

    // --- RestoreView ---
    void setRestoreButtonEnabled(bool enabled) override;
    void setDestinationButtonEnabled(bool enabled) override;
    void setDestinationControlsHidden(bool hidden) override;
    void showRestoreDestination(const QString &path) override;
    void setProgressPaneShown(bool shown) override;

    // The version pane below the tree, in the progress pane's place: one pane at a time.
    void setVersionPane(VersionPaneView *pane);

    // --- PagePanes ---
    bool isProgressPaneShown() const override { return mPaneShown; }
    void setVersionPaneShown(bool shown) override;
    bool isVersionPaneShown() const override;

    // --- RemoteActivityView ---
    void setSpinnerRunning(bool running) override;
    void setOperationName(const QString &text) override;
    void displayMessage(const QString &text) override;

    // --- RemoteGuideView ---
    void setRemoteGuideShown(bool shown) override;
    void setRefreshGuideShown(bool shown) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The guides follow the tree and the bottom row when they move or change size.
    void placeGuides();
    // The destination controls that make room for the pane, hidden also by the prompt preference.
    void updateDestinationControls();

    QSplitter *mSplitView;
    QTreeView *mOutlineView;
    ProgressPaneView *mProgressPane;
    VersionPaneView *mVersionPane = nullptr;
    QPushButton *mRestoreButton;
    QPushButton *mrRestoreDestinationButton;
    QLabel *mRestoreLocationLabel;
    QLabel *mRestoreDestinationLabel;
    TXAnimatedTextField *mOutputLabel;
    QProgressBar *mContinuousProgress;
    QLabel *mOpLabel;
    QPushButton *mDeleteButton;
    QPushButton *mShareButton;
    RemoteContextMenu *mContextMenu = nullptr;
    GuideImageView *mImgView1;
    GuideImageView *mImgView2;
    GuideImageView *mImgView3;
    GuideImageView *mImgViewRefreshGuide;
    bool mPaneShown = false;
    bool mControlsHiddenByPrompt = false;
};
