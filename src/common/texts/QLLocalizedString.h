#pragma once

#include <QString>

// Looks a key up in the running program's text table (TextTable.h): user-visible
// texts, path templates and executable paths. A null key gives ""; a key the
// table lacks gives the key itself. Root tokens such as ${DATA} are expanded.
QString QLLocalizedString(const QString &key);

namespace LocalizedText {

// True when the table could be loaded (a missing table is retried at the next lookup).
bool tableLoaded();

// The brand folder under the resources folder: "Quellon" when the running
// program's name (or $TX_BRAND) begins with "Quellon", else "Tarnix".
QString brandFolderName();

}  // namespace LocalizedText
