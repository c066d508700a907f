#pragma once

#include "client/shell/main/TXMainView.h"

// Shows the Backup tab's messages: the alert panel in the program, a script in tests.
class AlertPresenter
{
public:
    static constexpr int kAnswerDefault = 1;

    virtual ~AlertPresenter() = default;
    // Waits for the answer: 1 for the default button, 0 for the alternate one,
    // anything else for a window closed without a button.
    virtual int runModalAlert(const AlertRequest &alert) = 0;
    // Shows the message and goes on at once.
    virtual void showAlert(const AlertRequest &alert) = 0;
};
