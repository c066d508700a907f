#pragma once

#include <QString>

// A modal alert: the default button answers 1, the alternate 0, the other -1.
// An empty title leaves a button out.
struct AlertRequest
{
    QString title;
    QString message;
    QString defaultButton;
    QString alternateButton;
    QString otherButton;
    QString image;  // resource image name; empty: the brand's icon
};

// Every message a program shows goes through this: the alert panel in the program, a
// script in tests. inform and confirm are the common shapes of a request.
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

    // Shows the message and waits until it is dismissed.
    void inform(const AlertRequest &alert);
    // The message under the application's name, with one "OK" button.
    void inform(const QString &message);
    // Asks; true when the default button answered.
    bool confirm(const AlertRequest &question);
    // The question under the application's name, with "Yes" and "No"; true for "Yes".
    bool confirm(const QString &question);
};
