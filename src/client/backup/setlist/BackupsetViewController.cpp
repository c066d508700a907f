#include "client/backup/setlist/BackupsetViewController.h"

#include "client/backup/localtree/SerialWorker.h"
#include "client/backup/setlist/SetListTreeActions.h"
#include "common/files/TextFile.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "desktop/alerts/AlertPresenter.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/PropertyList.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

const QString kNotSized = QStringLiteral("--");
const QString kViewExclude = QStringLiteral("ViewExclude");

QStringList readPaths(const QString &path)
{
    QStringList paths;
    for (const QVariant &item : PropertyList::read(path).value_or(QVariant()).toList())
        if (item.typeId() == QMetaType::QString)
            paths.append(item.toString());
    return paths;
}

}  // namespace

BackupsetViewController::BackupsetViewController(AlertPresenter &alerts, SetListTimings timings, QObject *parent)
    : QObject(parent)
    , mAlerts(alerts)
    , mWorker(std::make_unique<SerialWorker>())
{
    mTimer.setInterval(timings.refreshInterval);
    connect(&mTimer, &QTimer::timeout, this, [this] { UpdateBackupSetSize(true); });
    mTimer.start();
}

BackupsetViewController::~BackupsetViewController()
{
    // A build still running reports to this object: it ends first.
    mWorker.reset();
}

void BackupsetViewController::setFiles(const Files &files)
{
    mFiles = files;
    UpdateBackupSetSize(false);
}

void BackupsetViewController::setControlsStatus(bool enabled)
{
    mControlsEnabled = enabled;
    emit rowsChanged();
}

void BackupsetViewController::readBackupSetFromFile(const QString &) { UpdateBackupSetSize(false); }

void BackupsetViewController::UpdateBackupSetSize(bool fromTimer)
{
    if (mFiles.setFile.isEmpty())
        return;
    // A tick redraws when the size file changed since the last look, however long ago that was.
    const QFileInfo sizeFile(mFiles.sizeFile);
    const QDateTime modified = sizeFile.exists() ? sizeFile.lastModified() : QDateTime();
    if (fromTimer && sizeFile.exists() && modified == mSizeFileSeen)
        return;
    mSizeFileSeen = modified;
    rebuildRows();
}

void BackupsetViewController::rebuildRows()
{
    const quint64 request = ++mRowsRequest;
    mWorker->post(QStringLiteral("rows"), [this, files = mFiles, request] {
        const Rows built = rowsFromFiles(files);
        QMetaObject::invokeMethod(this, [this, built, request] {
            if (request == mRowsRequest)
                showRows(built);
        });
    });
}

BackupsetViewController::Rows BackupsetViewController::rowsFromFiles(const Files &files)
{
    // The size file is only read here: the tree's size keeper is its one writer and keeps it
    // to the paths of the set. A second writer would put back figures the keeper has just
    // replaced, or an empty file over a new set's sizes.
    const QStringList setPaths = readPaths(files.setFile);
    const QSet<QString> inSet(setPaths.begin(), setPaths.end());
    Rows built;
    const QVariantMap sizes = inSet.isEmpty() ? QVariantMap() : PropertyList::readDictionary(files.sizeFile);
    built.rows.reserve(sizes.size());
    for (auto entry = sizes.cbegin(); entry != sizes.cend(); ++entry) {
        if (!inSet.contains(entry.key()))
            continue;
        const QFileInfo item(entry.key());
        const QString stored = entry.value().toString();
        SetListRow row;
        row.path = entry.key();
        row.isFolder = item.isDir();
        row.modified = item.exists() ? item.lastModified().toString(QStringLiteral("MM/dd/yyyy HH:mm:ss")) : QString();
        row.size = stored == kNotSized ? kNotSized : QLUtility::formatedFileSizeForOutlineView(stored.toDouble());
        if (stored != kNotSized)
            built.total += stored.toDouble();
        built.rows.append(row);
    }
    std::sort(built.rows.begin(), built.rows.end(), [](const SetListRow &a, const SetListRow &b) {
        return QString::compare(a.path, b.path, Qt::CaseInsensitive) < 0;
    });
    return built;
}

void BackupsetViewController::showRows(const Rows &built)
{
    mTotalSizeTitle = built.total == 0 ? QString()
                                       : QStringLiteral("Estimated backup set size: %1")
                                             .arg(QLUtility::formatedFileSizeForOutlineView(built.total));
    mBackupSetArray = built.rows;
    emit rowsChanged();
}

bool BackupsetViewController::confirm(const QString &text, bool yesIsDefault)
{
    AlertRequest request;
    request.title = QLLocalizedString(QStringLiteral("ApplicationName"));
    request.message = QLLocalizedString(text);
    const QString yes = QLLocalizedString(QStringLiteral("Yes"));
    const QString no = QLLocalizedString(QStringLiteral("No"));
    request.defaultButton = yesIsDefault ? yes : no;
    request.alternateButton = yesIsDefault ? no : yes;
    const int answer = mAlerts.runModalAlert(request);
    return yesIsDefault ? answer == AlertPresenter::kAnswerDefault : answer == 0;
}

void BackupsetViewController::deleteIndexes(const QList<int> &rows)
{
    QStringList paths;
    for (int row : rows)
        if (row >= 0 && row < mBackupSetArray.size())
            paths.append(mBackupSetArray.at(row).path);
    if (paths.isEmpty() || !confirm(QStringLiteral("Click 'Yes' to remove selected item(s)"), false))
        return;
    deleteChosenItems(paths);
}

void BackupsetViewController::deleteChosenItems(const QStringList &paths)
{
    if (mTree) {
        if (paths.size() == mBackupSetArray.size()) {
            mTimer.stop();
            mTree->removeAllNode();
            mTimer.start();
        } else {
            mTree->removeNodesWithPathArray(paths);
        }
    }
    handleTimeMachinePathRemoval(paths);
    UpdateBackupSetSize(false);
}

void BackupsetViewController::deleteAllItems()
{
    if (!confirm(QStringLiteral("Are you sure you want to remove all item(s) from backup set ?"), true))
        return;
    mTimer.stop();
    if (mTree)
        mTree->removeAllNode();
    mTimer.start();
    handleTimeMachinePathRemoval({});
    UpdateBackupSetSize(false);
}

void BackupsetViewController::handleTimeMachinePathRemoval(const QStringList &removed)
{
    if (!mTree)
        return;
    if (removed.isEmpty()) {
        mTree->handleTimeMachine();
        return;
    }
    const QSet<QString> chosen(removed.begin(), removed.end());
    for (const QString &path : readPaths(mFiles.timeMachineList))
        if (chosen.contains(path))
            mTree->handleTimeMachinePath(path);
}

void BackupsetViewController::ViewExclude()
{
    if (mMonitor.isRunning && !mMonitor.isRunning()) {
        // The word is there before the monitor starts, so that its start cannot miss it.
        TextFile::write(mMonitor.launchFile, kViewExclude);
        if (mMonitor.launch)
            mMonitor.launch();
    }
    if (!mNotifications)
        mNotifications = std::make_unique<DistributedNotificationCenter>();
    mNotifications->postNotificationName(QStringLiteral("TarnixPortableOpenPreferencesNotification"), kViewExclude);
}
