#pragma once

#include "desktop/alerts/AlertPresenter.h"

#include <chrono>
#include <functional>

class BackupPage;
class LocalTreeConnection;
class QWidget;
class TXTabViewController;

// Shows the Backup page's messages in the alert panel, as free windows so that
// they can be pictured with the main window, and answers them as a user going
// through Backup Now or a restore would: "Yes" to every question, "OK" to the end's message.
class PictureAlerts : public AlertPresenter
{
public:
    // Called while the message shows: pictures it with the window.
    std::function<void(const AlertRequest &alert, QWidget *panel)> shown;

    int runModalAlert(const AlertRequest &alert) override;
    void showAlert(const AlertRequest &alert) override;
};

// What a picture is taken with: save(name) grabs the main window;
// saveWith(name, over) grabs it with a window centred over it; saveOver(name,
// over) with a window (a pop-up menu) where it stands.
struct BackupPagePictures
{
    std::function<void(const char *name)> save;
    std::function<void(const char *name, QWidget *over)> saveWith;
    std::function<void(const char *name, QWidget *over)> saveOver;
};

// Backup Now on the signed-in demo account's Backup page, with the stand-in
// engine: a folder of the home folder checked (idle), the progress pane while
// it is backed up (running) and the end's message (finished).
// Lets the program run until the condition holds; false (and a message naming the page) after the time.
bool waitForPicture(const QString &page, const std::function<bool()> &condition,
                    std::chrono::seconds time = std::chrono::seconds(60));

void saveBackupPage(TXTabViewController &tabs, BackupPage &page, LocalTreeConnection &tree, PictureAlerts &alerts,
                    const BackupPagePictures &pictures);
