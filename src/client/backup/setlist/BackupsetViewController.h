#pragma once

#include "client/backup/setlist/SetListRow.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

class AlertPresenter;
class DistributedNotificationCenter;
class SerialWorker;
class SetListTreeActions;

struct SetListTimings
{
    // How often the size file is looked at.
    std::chrono::milliseconds refreshInterval{5000};
};

// The list under the local tree of the items chosen for backup (the backup set,
// or the sync set in sync mode): one row per item of the set file that the size
// file has sized, the estimated total, and the removal of items. It redraws
// whenever the size file changes and at once when the set is saved. The rows are
// built from the files on a worker (a large set takes long to read and look at); the
// newest build is the one shown.
class BackupsetViewController : public QObject
{
    Q_OBJECT

public:
    struct Files
    {
        QString setFile;
        QString sizeFile;
        QString timeMachineList;
    };
    // How the list reaches the monitor's exclusion settings.
    struct MonitorLink
    {
        std::function<bool()> isRunning;
        std::function<void()> launch;
        QString launchFile;  // the monitor's one-word command file
    };

    BackupsetViewController(AlertPresenter &alerts, SetListTimings timings = {}, QObject *parent = nullptr);
    ~BackupsetViewController() override;

    // The user's files of the mode (login, user change, mode change); the list redraws.
    void setFiles(const Files &files);
    void setTree(SetListTreeActions *tree) { mTree = tree; }
    void setMonitorLink(MonitorLink link) { mMonitor = std::move(link); }

    const QList<SetListRow> &backupSet() const { return mBackupSetArray; }
    // "Estimated backup set size: ..."; "" when the total is 0 (the button hides).
    const QString &totalSizeTitle() const { return mTotalSizeTitle; }
    bool isEmptyHintShown() const { return mBackupSetArray.isEmpty(); }
    bool controlsEnabled() const { return mControlsEnabled; }
    void setControlsStatus(bool enabled);

    // The set was saved (the path is not needed: the list knows its files).
    void readBackupSetFromFile(const QString &path);
    // A timer tick (redraws only when the size file changed since the last look) or a forced redraw.
    void UpdateBackupSetSize(bool fromTimer);

    // Removal of rows after the user's "Yes".
    void deleteIndexes(const QList<int> &rows);
    void deleteAllItems();
    // The exclusion button: the monitor opens its exclusion settings. A monitor
    // that does not run is told through its command file and started.
    void ViewExclude();

signals:
    void rowsChanged();

private:
    struct Rows
    {
        QList<SetListRow> rows;
        double total = 0;
    };
    static Rows rowsFromFiles(const Files &files);
    void rebuildRows();
    void showRows(const Rows &built);
    void deleteChosenItems(const QStringList &paths);
    void handleTimeMachinePathRemoval(const QStringList &removed);
    bool confirm(const QString &text, bool yesIsDefault);

    AlertPresenter &mAlerts;
    SetListTreeActions *mTree = nullptr;
    MonitorLink mMonitor;
    std::unique_ptr<DistributedNotificationCenter> mNotifications;  // made at the first use
    Files mFiles;
    QTimer mTimer;
    QDateTime mSizeFileSeen;
    QList<SetListRow> mBackupSetArray;
    QString mTotalSizeTitle;
    bool mControlsEnabled = true;
    quint64 mRowsRequest = 0;
    std::unique_ptr<SerialWorker> mWorker;  // last: its work reports to this object
};
