#include "client/backup/LocalTreeExclusions.h"

// The system places of the start-up disk that the tree never offers, and the
// custom-icon file; /proc, /sys and /run are the live system folders of Linux.
const QStringList LocalTreeExclusions::kDefaultExcludeFiles = {
    QStringLiteral("/Desktop DB"), QStringLiteral("/Desktop DF"), QStringLiteral("/Network"),
    QStringLiteral("/Temporary Items"), QStringLiteral("/TheVolumeSettingsFolder"), QStringLiteral("/Trash"),
    QStringLiteral("/Volumes"), QStringLiteral("/automount"), QStringLiteral("/bin"), QStringLiteral("/cores"),
    QStringLiteral("/dev"), QStringLiteral("/etc"), QStringLiteral("/home"), QStringLiteral("/net"),
    QStringLiteral("/mach"), QStringLiteral("/mach.sym"), QStringLiteral("/mach_kernel"),
    QStringLiteral("/mach_kernel.ctfsys"), QStringLiteral("/private"), QStringLiteral("/sbin"),
    QStringLiteral("/tmp"), QStringLiteral("/usr"), QStringLiteral("/var"), QStringLiteral("Icon\r"),
    QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/run"),
};

LocalTreeExclusions::LocalTreeExclusions(const LocalVolumeLayout &layout, const QStringList &userSpecified)
    : mLayout(layout)
    , mUserSpecified(userSpecified)
{
}

bool LocalTreeExclusions::isHiddenByDefault(const QString &treePath) const
{
    const QString name = treePath.section('/', -1);
    const QString stored = mLayout.storedForm(treePath);
    const bool onStartupDisk = mLayout.isOnStartupVolume(treePath);
    const QString home = mLayout.homeTreePath();
    if (treePath == home || home.startsWith(treePath + '/'))
        return false;
    for (const QString &entry : kDefaultExcludeFiles) {
        if (!entry.startsWith('/')) {
            if (name == entry)
                return true;
        } else if (onStartupDisk && stored == (entry == QLatin1String("/Volumes") ? mLayout.volumesRoot : entry)) {
            return true;
        }
    }
    return false;
}

bool LocalTreeExclusions::isUserExcluded(const QString &treePath) const
{
    return mUserSpecified.contains(mLayout.storedForm(treePath));
}
