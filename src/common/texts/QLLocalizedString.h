#pragma once

#include <QString>

// Looks a key up in the brand's Localizable.plist: user-visible texts, path
// templates and executable paths. A null key gives ""; a key the table lacks
// gives the key itself. Root tokens such as ${DATA} in values are expanded.
QString QLLocalizedString(const QString &key);

// True when the table could be loaded (a missing table is retried at the next lookup).
bool QLLocalizedStringTableLoaded();

// The brand folder under the resources folder: "Quellon" when the running
// program's name (or $TX_BRAND) begins with "Quellon", else "Tarnix".
QString QLBrandFolderName();

// Forgets the loaded table so the next lookup loads it again; for tests that switch brands.
void QLLocalizedStringReset();
