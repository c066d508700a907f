#pragma once

#include "monitor/notify/NotificationRules.h"

#include <QRect>

// The notification window as the display controller sees it.
class NotificationView
{
public:
    virtual ~NotificationView() = default;

    // The screen area windows may use (without panels and docks).
    virtual QRect availableGeometry() const = 0;
    // Shows the state in a window of that frame, the next-job line as tall as given,
    // without taking the focus from the user's window.
    virtual void showNotification(const NotificationRules::State &state, const QRect &frame, int nextJobHeight) = 0;
    virtual void hideNotification() = 0;
};
