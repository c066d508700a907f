#pragma once

#include "desktop/alerts/AlertPresenter.h"

#include <memory>
#include <vector>

class AlertPaneWindowController;
class QWidget;

// A program's messages in the application's alert panel, over its main window (over the
// active window when it has none).
class AlertPanePresenter : public AlertPresenter
{
public:
    explicit AlertPanePresenter(QWidget *mainWindow = nullptr);
    ~AlertPanePresenter() override;

    int runModalAlert(const AlertRequest &alert) override;
    void showAlert(const AlertRequest &alert) override;

private:
    std::unique_ptr<AlertPaneWindowController> make(const AlertRequest &alert) const;

    QWidget *mMainWindow;
    // A free alert lives until the next one replaces it.
    std::unique_ptr<AlertPaneWindowController> mFreeAlert;
};
