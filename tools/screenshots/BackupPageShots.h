#pragma once

#include <functional>

class QWidget;
class TXTabViewController;

// Puts the Backup page into the main window and saves it idle, while a backup
// runs and after it has finished; save(name) grabs the window.
void saveBackupPage(TXTabViewController &tabs, const std::function<void(const char *name)> &save);
