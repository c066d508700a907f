#pragma once

#include <QString>
#include <QVariantMap>

#include <optional>

// The value rules of the sidebar (Sidebar) and the page switcher
// (TXTabViewController) that need no window: the space-used label, the mode
// switch's guard and file text, the scheduler line, and the pages behind the
// sidebar's rows.
namespace SidebarRules {

// The sidebar's rows; row n shows the page of Tab n.
enum Row
{
    kBackupRow = 0,
    kRestoreRow = 1,
    kLogRow = 2
};

inline const QString kSearchPlaceholder = QStringLiteral("Search your device");
inline const QString kTrashPlaceholder = QStringLiteral("Search in Trash");
inline const QString kDisabledSchedulerLine = QStringLiteral("Status : Disabled");
inline const QString kSpaceUsedFailure = QStringLiteral("Space used on portable device: 0 B");

// The label after a folder-size run over the whole user folder on the drive:
// "fileSize" is in bytes when the output also has "FileCount", else in kB;
// the sizes -1 and -2 leave the label as it is (no value).
std::optional<QString> spaceUsedText(const QVariantMap &output);

// Whether the backup/sync switch may act: not while a backup, a restore, a
// re-index or a search runs.
struct Activity
{
    bool backupRunning = false;
    bool restoreRunning = false;
    bool reIndexRunning = false;
    bool searchRunning = false;
};
bool mayToggleMode(const Activity &activity);
// The mode file's text: "1" for backup mode, "0" for sync mode.
QString modeFileText(bool backupMode);

// The scheduler button enables the scheduled jobs again only when the line reads exactly so.
bool schedulerLineEnablesJobs(const QString &line);

// The visual cue shown next to the switch for a mode.
QString switchCueImage(bool backupMode);
struct SwitchImages
{
    QString knob;
    QString background;
};
SwitchImages switchImages(bool backupMode);

}  // namespace SidebarRules
