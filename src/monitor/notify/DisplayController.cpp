#include "monitor/notify/DisplayController.h"

#include "monitor/notify/NotificationView.h"

#include <algorithm>

DisplayController::DisplayController(NotificationView &view, NotificationDesign design)
    : mView(view)
    , mDesign(design)
{}

void DisplayController::displayDesktopNotfn(bool onRequest, bool isBusinessUser, const QVariantMap &payload)
{
    if (NotificationRules::isHidden(onRequest, payload))
        return;
    const NotificationRules::State state = NotificationRules::state(onRequest, isBusinessUser, payload);
    mView.hideNotification();
    mView.showNotification(state, frameFor(state, mView.availableGeometry(), mFirstTimeDisplay), nextJobHeight(state));
    mFirstTimeDisplay = false;
}

void DisplayController::closeWindow() { mView.hideNotification(); }

int DisplayController::nextJobHeight(const NotificationRules::State &state) const
{
    return mDesign.nextJobHeight + kPointsPerLine * std::max(0, state.nextJobExtraLines);
}

QRect DisplayController::frameFor(const NotificationRules::State &state, const QRect &available,
                                  bool firstDisplay) const
{
    int height = mDesign.fullHeight() - mDesign.nextJobHeight + nextJobHeight(state);
    if (!state.countsVisible)
        height -= mDesign.countsHeight;
    if (!state.upgradeVisible)
        height -= mDesign.upgradeHeight;
    const int inset = firstDisplay ? 0 : kLaterDisplayInset;
    // Top right, never above or beside the usable area; a window taller than
    // the area keeps its top edge on screen.
    const int x = std::max(available.left(), available.left() + available.width() - mDesign.width - inset);
    return QRect(x, available.top(), mDesign.width, height);
}
