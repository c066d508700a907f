#include "desktop/alerts/views/AlertPanePresenter.h"

#include "common/widgets/AlertPaneWindowController.h"
#include "common/widgets/ResourceImage.h"

#include <QLabel>

AlertPanePresenter::AlertPanePresenter(QWidget *mainWindow)
    : mMainWindow(mainWindow)
{}
AlertPanePresenter::~AlertPanePresenter() = default;

std::unique_ptr<AlertPaneWindowController> AlertPanePresenter::make(const AlertRequest &alert) const
{
    auto panel =
        std::make_unique<AlertPaneWindowController>(alert.defaultButton, alert.alternateButton, alert.otherButton);
    panel->setOwnerWindow(mMainWindow);
    if (!alert.image.isEmpty())
        panel->mImageView()->setPixmap(ResourceImage::load(alert.image));
    return panel;
}

int AlertPanePresenter::runModalAlert(const AlertRequest &alert)
{
    return make(alert)->displayMessage(alert.message, alert.title, true);
}

void AlertPanePresenter::showAlert(const AlertRequest &alert)
{
    mFreeAlert = make(alert);
    mFreeAlert->displayMessage(alert.message, alert.title, false);
}
