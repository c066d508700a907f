#pragma once

#include "client/backup/now/BackupView.h"

#include <QWidget>

class BackupViewController;
class ProgressPaneView;
class QComboBox;
class QLabel;
class QPushButton;
class QSplitter;
class QStackedWidget;

// The Backup tab's page: the local tree above, below it the set list of the
// mode or the progress pane, and the volume chooser, backup path, Backup Now
// and Cleanup Now under them. Its buttons go to the tab's controller.
class BackupPageView : public QWidget, public BackupView
{
    Q_OBJECT

public:
    BackupPageView(BackupViewController &controller, QWidget *parent = nullptr);

    // The local tree's view, and the set lists of the two modes.
    void setTreeView(QWidget *tree);
    void setTreeEnabled(bool enabled);
    void setSetListViews(QWidget *backupSetList, QWidget *syncSetList);

    QPushButton *backupButton() const { return mBackupButton; }
    QPushButton *cleanupButton() const { return mArchiveCleanupButton; }
    QComboBox *volumesPopUpButton() const { return mVolumesPopUp; }
    QLabel *backupPathLabel() const { return mBackupPathLable; }
    // Where backups go on the drive; shortened in the middle to fit, whole in the tool tip.
    void setBackupPath(const QString &path);
    ProgressPaneView *progressPane() const { return mProgressPane; }

    // --- BackupView ---
    void setBackupButtonEnabled(bool enabled) override;
    void showProgressPane() override;
    void showSetList(bool backupMode) override;
    void setVolumeChooserEnabled(bool enabled) override;
    void setBackupPathLabelHidden(bool hidden) override;

protected:
    // The path label shortens its path whenever its width changes.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitBackupPath();

    QSplitter *mSplitView;
    QWidget *mTreeSlot;
    QStackedWidget *mLowerPane;
    ProgressPaneView *mProgressPane;
    QWidget *mBackupSetList = nullptr;
    QWidget *mSyncSetList = nullptr;
    QWidget *mFooter;
    QLabel *mVolumesLable;
    QComboBox *mVolumesPopUp;
    QLabel *mBackupPathLable;
    QPushButton *mBackupButton;
    QPushButton *mArchiveCleanupButton;
    QString mBackupPath;
};
