#pragma once

#include <QString>

// Where the local tree's paths lead, and their stored form.
//
// The tree is rooted at the folder of mounted drives (the volumes root); the
// start-up disk stands in it as one more drive, <volumes root>/<start-up name>,
// so a home folder reads <volumes root>/<start-up name>/home/me. Files on disk
// (the set file, the size file, exclusions, the Time Machine lists) hold the
// stored form instead: start-up disk paths as ordinary absolute paths ("/" for
// the whole disk), other drives as their paths under the volumes root. This is
// the one place that turns one form into the other.
struct LocalVolumeLayout
{
    QString volumesRoot;  // the tree's root: where drives are mounted
    QString startupRoot;  // the start-up disk's own root folder: "/" outside tests
    QString startupName;  // the start-up disk's name in the tree
    QString homeFolder;   // the user's home folder, a path on the start-up disk

    // The layout of this computer: the path roots of the platform layer.
    static LocalVolumeLayout current();

    // <volumes root>/<start-up name>
    QString startupVolumePath() const;
    // The volumes root itself or a path below it (another drive's tree path).
    bool isUnderVolumesRoot(const QString &path) const;
    // The start-up volume itself or a path below it.
    bool isOnStartupVolume(const QString &treePath) const;

    // Tree path -> stored form: only a leading start-up volume prefix is taken off.
    QString storedForm(const QString &treePath) const;
    // Stored form -> tree path: "/" is the start-up volume, a path under the
    // volumes root stays as it is, any other path lies on the start-up disk.
    QString treePath(const QString &storedPath) const;
    // Tree path -> where the item is on disk.
    QString diskPath(const QString &treePath) const;
    // Where an item is on disk -> its tree path.
    QString treePathOfDiskPath(const QString &diskPath) const;
    // The home folder's tree path.
    QString homeTreePath() const;
};
