#include "common/backupset/LocalTreeExclusions.h"

// The system places of the start-up disk that the tree never offers, and the
// custom-icon file; /proc, /sys and /run are the live system folders of Linux.
const QStringList LocalTreeExclusions::kDefaultExcludeFiles = {
    QStringLiteral("/Desktop DB"),
    QStringLiteral("/Desktop DF"),
    QStringLiteral("/Network"),
    QStringLiteral("/Temporary Items"),
    QStringLiteral("/TheVolumeSettingsFolder"),
    QStringLiteral("/Trash"),
    QStringLiteral("/Volumes"),
    QStringLiteral("/automount"),
    QStringLiteral("/bin"),
    QStringLiteral("/cores"),
    QStringLiteral("/dev"),
    QStringLiteral("/etc"),
    QStringLiteral("/home"),
    QStringLiteral("/net"),
    QStringLiteral("/mach"),
    QStringLiteral("/mach.sym"),
    QStringLiteral("/mach_kernel"),
    QStringLiteral("/mach_kernel.ctfsys"),
    QStringLiteral("/private"),
    QStringLiteral("/sbin"),
    QStringLiteral("/tmp"),
    QStringLiteral("/usr"),
    QStringLiteral("/var"),
    QStringLiteral("Icon\r"),
    QStringLiteral("/proc"),
    QStringLiteral("/sys"),
    QStringLiteral("/run"),
};

LocalTreeExclusions::LocalTreeExclusions(const LocalVolumeLayout &layout, const QStringList &userSpecified)
    : mLayout(layout)
    , mHomePath(layout.homeTreePath())
    , mUserSpecified(userSpecified.begin(), userSpecified.end())
{
    for (const QString &entry : kDefaultExcludeFiles) {
        if (!entry.startsWith('/'))
            mNamesAnywhere.insert(entry);
        else
            mStartupPlaces.insert(entry == QLatin1String("/Volumes") ? layout.volumesRoot : entry);
    }
}

bool LocalTreeExclusions::isHiddenByDefault(const QString &treePath) const
{
    if (mNamesAnywhere.contains(treePath.section('/', -1)))
        return true;
    if (!mLayout.isOnStartupVolume(treePath) || treePath == mHomePath || mHomePath.startsWith(treePath + '/'))
        return false;
    return mStartupPlaces.contains(mLayout.storedForm(treePath));
}

bool LocalTreeExclusions::isUserExcluded(const QString &treePath) const
{
    return !mUserSpecified.isEmpty() && mUserSpecified.contains(mLayout.storedForm(treePath));
}
