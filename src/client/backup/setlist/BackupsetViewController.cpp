#include "client/backup/setlist/BackupsetViewController.h"

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
{
    mTimer.setInterval(timings.refreshInterval);
    connect(&mTimer, &QTimer::timeout, this, [this] { UpdateBackupSetSize(true); });
    mTimer.start();
}

BackupsetViewController::~BackupsetViewController() = default;

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
    const QStringList setPaths = readPaths(mFiles.setFile);
    const QSet<QString> inSet(setPaths.begin(), setPaths.end());
    QList<SetListRow> rows;
    double total = 0;
    if (inSet.isEmpty()) {
        PropertyList::write(mFiles.sizeFile, QVariantMap());
    } else {
        QVariantMap sizes = PropertyList::readDictionary(mFiles.sizeFile);
        const qsizetype before = sizes.size();
        sizes.removeIf([&inSet](const QVariantMap::iterator &entry) { return !inSet.contains(entry.key()); });
        if (sizes.size() != before)
            PropertyList::write(mFiles.sizeFile, sizes);
        for (auto entry = sizes.cbegin(); entry != sizes.cend(); ++entry) {
            const QFileInfo item(entry.key());
            const QString stored = entry.value().toString();
            SetListRow row;
            row.path = entry.key();
            row.isFolder = item.isDir();
            row.modified =
                item.exists() ? item.lastModified().toString(QStringLiteral("MM/dd/yyyy HH:mm:ss")) : QString();
            row.size = stored == kNotSized ? kNotSized : QLUtility::formatedFileSizeForOutlineView(stored.toDouble());
            if (stored != kNotSized)
                total += stored.toDouble();
            rows.append(row);
        }
    }
    std::sort(rows.begin(), rows.end(), [](const SetListRow &a, const SetListRow &b) {
        return QString::compare(a.path, b.path, Qt::CaseInsensitive) < 0;
    });
    mTotalSizeTitle =
        total == 0
            ? QString()
            : QStringLiteral("Estimated backup set size: %1").arg(QLUtility::formatedFileSizeForOutlineView(total));
    mBackupSetArray = rows;
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
