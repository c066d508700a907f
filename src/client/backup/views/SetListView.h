#pragma once

#include <QWidget>

class BackupsetViewController;
class QLabel;
class QPushButton;
class QTableView;

// A set list's widgets: the table of items with icon, size and date, the hint
// of an empty set, the estimated total, and the removal of chosen rows (button
// and context menu) or of all of them, and the button to the monitor's exclusions.
class SetListView : public QWidget
{
    Q_OBJECT

public:
    explicit SetListView(BackupsetViewController &controller, QWidget *parent = nullptr);

    QTableView *table() const { return mBackupsetTableView; }
    QLabel *emptyHint() const { return mDefaultLabel; }
    QPushButton *totalSizeButton() const { return totalBackupSizeButton; }
    QPushButton *exclusionButton() const { return mExclusionButton; }

private:
    void reload();
    QList<int> selectedRows() const;

    BackupsetViewController &mController;
    QTableView *mBackupsetTableView;
    QLabel *mDefaultLabel;
    QPushButton *mDeleteSelectedFiles;
    QPushButton *totalBackupSizeButton;
    QPushButton *mExclusionButton;
};
