#pragma once

#include "BackupPageShots.h"

struct SearchTab;

// The Search page of the signed-in demo account, after the Backup page's backup:
// the rows a key typed into the search field finds (results), two of them checked
// and restored, the restore first in the sidebar's box (restore-in-sidebar), then
// in the page's progress pane (restore-running), and the end's message (finished).
void saveSearchPage(TXTabViewController &tabs, SearchTab &search, PictureAlerts &alerts,
                    const BackupPagePictures &pictures);
