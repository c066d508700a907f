#pragma once

#include "client/backup/now/AlertPresenter.h"

#include <memory>
#include <vector>

class AlertPaneWindowController;

// The Backup tab's messages in the application's alert panel.
class AlertPanePresenter : public AlertPresenter
{
public:
    AlertPanePresenter();
    ~AlertPanePresenter() override;

    int runModalAlert(const AlertRequest &alert) override;
    void showAlert(const AlertRequest &alert) override;

private:
    std::unique_ptr<AlertPaneWindowController> make(const AlertRequest &alert) const;

    // A free alert lives until the next one replaces it.
    std::unique_ptr<AlertPaneWindowController> mFreeAlert;
};
