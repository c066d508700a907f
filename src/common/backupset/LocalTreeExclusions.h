#pragma once

#include "common/volumes/LocalVolumeLayout.h"

#include <QSet>
#include <QString>
#include <QStringList>

// Which items the local tree leaves out or marks as excluded.
//
// Default exclusions are system places of the start-up disk: an entry that
// begins with "/" names one path from that disk's root (so a folder named
// "bin" in a project stays visible), an entry without one names an item
// anywhere. The home folder and the folders leading to it are never left out.
// The user's exclusions are stored-form paths that match exactly.
class LocalTreeExclusions
{
public:
    // The default exclusions in their stored form; "/Volumes" stands for the
    // folder of mounted drives.
    static const QStringList kDefaultExcludeFiles;

    LocalTreeExclusions() = default;
    LocalTreeExclusions(const LocalVolumeLayout &layout, const QStringList &userSpecified);

    // True when the item at the tree path is left out of its folder's listing.
    bool isHiddenByDefault(const QString &treePath) const;
    // True when the user excluded the item at the tree path.
    bool isUserExcluded(const QString &treePath) const;

private:
    LocalVolumeLayout mLayout;
    QString mHomePath;
    QSet<QString> mStartupPlaces;  // stored forms of the places on the start-up disk
    QSet<QString> mNamesAnywhere;
    QSet<QString> mUserSpecified;
};
