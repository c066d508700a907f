#pragma once

#include <QPixmap>
#include <QString>

// The monitor's images by the names its code uses: the brands' tray images
// ("Portable_tray1", "Portable_tray2", "trayicon", "trayicon_slctd"), the
// quota warning and the paused job ("TarnixUpgradeMenuIcon",
// "TarnixPauseMenuIcon"), and the tray help's balloon ("TarnixTrayHelp").
// All are drawn here in the brand's colours; any other name is the client's
// artwork.
namespace MonitorArtwork {

QPixmap image(const QString &name);

}  // namespace MonitorArtwork
