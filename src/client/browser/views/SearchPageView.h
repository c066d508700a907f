#pragma once

#include "client/browser/restore/RestoreView.h"
#include "client/browser/search/SearchController.h"
#include "client/browser/search/SearchView.h"
#include "client/browser/views/PagePanes.h"

#include <QWidget>

class ProgressPaneView;
class ProgressViewController;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTableView;
class SearchTableModel;
class TXAnimatedTextField;
class VersionPaneView;

// The Search tab's page: the results table above, the progress pane of a
// restore or the version pane below it, the spinner with the operation's name
// and the result line, the restore destination, and the row of buttons: back
// to Restore, Help, Delete, Share and Restore. The table's context menu restores,
// deletes, lists the versions of or shares the clicked row.
class SearchPageView : public QWidget, public SearchView, public RestoreView, public PagePanes
{
    Q_OBJECT

public:
    SearchPageView(SearchController &controller, ProgressViewController &progress, SearchTableModel &model,
                   QWidget *parent = nullptr);

    QTableView *tableView() const { return mTableView; }
    QPushButton *restoreButton() const { return mRestoreButton; }
    QPushButton *deleteButton() const { return mDeleteButton; }
    QPushButton *shareButton() const { return mShareButton; }
    QPushButton *backButton() const { return mBackButton; }
    QPushButton *helpButton() const { return mHelpButton; }
    QPushButton *destinationButton() const { return mrRestoreDestinationButton; }
    QLabel *destinationLabel() const { return mRestoreDestinationLabel; }
    ProgressPaneView *progressPane() const { return mProgressPane; }
    QProgressBar *spinner() const { return mContinuousProgress; }
    TXAnimatedTextField *resultLine() const { return mOutputLabel; }
    TXAnimatedTextField *operationLine() const { return mOpLabel; }
    // The context menu as it would open over the row (-1: off the rows), its entries enabled by the rules.
    QMenu *contextMenuFor(int row);
    void setVersionPane(VersionPaneView *pane);
    VersionPaneView *versionPane() const { return mVersionPane; }

    // --- SearchView ---
    void setSpinnerRunning(bool animating) override;
    void setOperationName(const QString &text) override;
    void displayMessage(const QString &text) override;
    void setVersionColumnHidden(bool hidden) override;

    // --- RestoreView ---
    void setRestoreButtonEnabled(bool enabled) override;
    void setDestinationButtonEnabled(bool enabled) override;
    void setDestinationControlsHidden(bool hidden) override;
    void showRestoreDestination(const QString &path) override;
    void setProgressPaneShown(bool shown) override;

    // --- PagePanes ---
    bool isProgressPaneShown() const override { return mPaneShown; }
    void setVersionPaneShown(bool shown) override;
    bool isVersionPaneShown() const override;

signals:
    // An entry of the context menu was chosen for the row.
    void menuItemTriggered(SearchController::MenuItem item, int row);

private:
    // The browse button and the path label make way for the progress pane and for the prompt preference.
    void updateDestinationControls();

    SearchController &mController;
    QSplitter *mSplitView;
    QTableView *mTableView;
    ProgressPaneView *mProgressPane;
    VersionPaneView *mVersionPane = nullptr;
    QProgressBar *mContinuousProgress;
    TXAnimatedTextField *mOpLabel;
    TXAnimatedTextField *mOutputLabel;
    QLabel *mRestoreLocationLabel;
    QLabel *mRestoreDestinationLabel;
    QPushButton *mrRestoreDestinationButton;
    QPushButton *mBackButton;
    QPushButton *mHelpButton;
    QPushButton *mDeleteButton;
    QPushButton *mShareButton;
    QPushButton *mRestoreButton;
    QMenu *mRuvoMenu;
    int mClickedRow = -1;
    bool mPaneShown = false;
    bool mControlsHiddenByPrompt = false;
};
