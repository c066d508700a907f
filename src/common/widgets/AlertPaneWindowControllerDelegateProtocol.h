#pragma once

// Receives the answer of an alert shown as a free (non-modal) window.
class AlertPaneWindowControllerDelegateProtocol
{
public:
    virtual ~AlertPaneWindowControllerDelegateProtocol() = default;

    // The answer: 1 default, 0 alternate, -1 other button, or
    // AlertPaneWindowController::kAnswerDismissed when the window was closed without one.
    virtual void didClickButton(int answer) = 0;
};
