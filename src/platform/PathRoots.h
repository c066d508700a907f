#pragma once

#include <QString>

// Where this program keeps its files on Linux. Every root can be moved by an
// environment variable so that tests and the demo run inside a folder of their own.
namespace PathRoots {

QString homeFolder();          // $HOME
QString userDataRoot();        // $XDG_DATA_HOME or ~/.local/share
QString userConfigRoot();      // $XDG_CONFIG_HOME or ~/.config
QString userCacheRoot();       // $XDG_CACHE_HOME or ~/.cache
QString userRuntimeRoot();     // $XDG_RUNTIME_DIR, else a private folder under the cache root
QString machineSupportRoot();  // $TX_SUPPORT_ROOT or /var/lib/tarnixvidezud
QString volumesRoot();         // $TX_VOLUMES_ROOT or /media/$USER
QString programFolder();       // $TX_BIN_DIR or the folder of the running program
QString applicationFolder();   // the installed product's own folder: <program folder>/..
QString installPrefix();       // the prefix it was installed under: <application folder>/../..
QString resourcesFolder();     // $TX_RESOURCES or <application folder>/resources
QString temporaryRoot();       // $TMPDIR or /tmp

// Replaces the root tokens ${HOME}, ${DATA}, ${CONFIG}, ${CACHE}, ${RUNTIME},
// ${SUPPORT}, ${VOLUMES}, ${BIN}, ${APP}, ${PREFIX} and ${TMP} of a configured path template.
QString expandRootTokens(const QString &text);

}  // namespace PathRoots
