#pragma once

#include "client/browser/restore/RestoreView.h"

#include <QWidget>

class ProgressPaneView;
class QLabel;
class QPushButton;
class QSplitter;
class QTreeView;
class RemoteTreeModel;
class RestoreController;
class TXAnimatedTextField;

// The Restore page: the destination tree above, the progress pane below it while
// a restore runs, the status line, and the bottom row with the Restore button and
// the destination controls.
class RestorePageView : public QWidget, public RestoreView
{
    Q_OBJECT

public:
    RestorePageView(RestoreController &controller, RemoteTreeModel &model, QWidget *parent = nullptr);

    QTreeView *treeView() const { return mOutlineView; }
    QPushButton *restoreButton() const { return mRestoreButton; }
    QPushButton *destinationButton() const { return mrRestoreDestinationButton; }
    QLabel *destinationLabel() const { return mRestoreDestinationLabel; }
    ProgressPaneView *progressPane() const { return mProgressPane; }
    TXAnimatedTextField *statusLine() const { return mOutputLabel; }

    // --- RestoreView ---
    void setRestoreButtonEnabled(bool enabled) override;
    void setDestinationButtonEnabled(bool enabled) override;
    void setDestinationControlsHidden(bool hidden) override;
    void showRestoreDestination(const QString &path) override;
    void setProgressPaneShown(bool shown) override;

private:
    // The destination controls that make room for the pane, hidden also by the prompt preference.
    void updateDestinationControls();

    QSplitter *mSplitView;
    QTreeView *mOutlineView;
    ProgressPaneView *mProgressPane;
    QPushButton *mRestoreButton;
    QPushButton *mrRestoreDestinationButton;
    QLabel *mRestoreLocationLabel;
    QLabel *mRestoreDestinationLabel;
    TXAnimatedTextField *mOutputLabel;
    bool mPaneShown = false;
    bool mControlsHiddenByPrompt = false;
};
