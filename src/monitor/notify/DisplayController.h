#pragma once

#include "monitor/notify/NotificationRules.h"

#include <QRect>
#include <QVariantMap>

class NotificationView;

// The heights of the notification window's blocks as it is laid out, top down:
// the header (user, quota line and bar), the next-job line, the file counts,
// the upgrade offer and the buttons.
struct NotificationDesign
{
    int width = 480;
    int headerHeight = 84;
    int nextJobHeight = 22;
    int countsHeight = 92;
    int upgradeHeight = 52;
    int footerHeight = 44;

    int fullHeight() const { return headerHeight + nextJobHeight + countsHeight + upgradeHeight + footerHeight; }
};

// Shows the desktop notification of a finished backup and the status summary
// in one window at the top right of the screen's usable area. The window has
// no timer: it stays until the user closes it or the next one replaces it,
// and each display starts again from the designed layout.
class DisplayController
{
public:
    static constexpr int kPointsPerLine = 18;
    static constexpr int kLaterDisplayInset = 20;  // the first display is flush with the right edge

    explicit DisplayController(NotificationView &view, NotificationDesign design = {});

    // Main thread only (messages reach it through the monitor controller).
    void displayDesktopNotfn(bool onRequest, bool isBusinessUser, const QVariantMap &payload);
    void closeWindow();

    // The window's frame for a state: its height from the visible blocks and the
    // error text's lines; its place the top right corner of the available area,
    // kept inside it.
    QRect frameFor(const NotificationRules::State &state, const QRect &available, bool firstDisplay) const;
    int nextJobHeight(const NotificationRules::State &state) const;

private:
    NotificationView &mView;
    NotificationDesign mDesign;
    bool mFirstTimeDisplay = true;
};
