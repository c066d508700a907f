#pragma once

#include <QString>

// The bandwidth-test window as its controller drives it: a progress panel
// while a test runs, a result panel afterwards, the two test buttons and the
// application's alert. The window itself lives with the client's views.
class BandwidthTestWindow
{
public:
    virtual ~BandwidthTestWindow() = default;

    // Hides the result panel, empties its texts, sets the title, shows the
    // message on the progress panel with its indicator running, and brings
    // the window to the front.
    virtual void launchWindowWithName(const QString &title, const QString &message) = 0;
    // Stops the indicator, hides the progress panel and shows the rate, the
    // time for one gigabyte and the message on the result panel.
    virtual void upDateResult(const QString &rate, const QString &time, const QString &message,
                              const QString &title) = 0;
    // Which test button is on.
    virtual void setTestButtonStates(bool downloadOn, bool uploadOn) = 0;
    virtual void setTestButtonsEnabled(bool enabled) = 0;
    // The application's alert with the text and one "OK" button, modal.
    virtual void showAlert(const QString &text) = 0;
    virtual void hideWindow() = 0;
};
