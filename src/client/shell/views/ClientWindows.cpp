#include "client/shell/views/ClientWindows.h"

#include "client/shell/views/TXMainWindow.h"
#include "client/shell/views/TXTabViewController.h"
#include "common/texts/QLLocalizedString.h"
#include "common/widgets/ResourceImage.h"

namespace {
const QSize kMainWindowSize(980, 660);
}  // namespace

ClientWindows::ClientWindows()
    : mMainWindow(std::make_unique<TXMainWindow>())
    , mTabViewController(std::make_unique<TXTabViewController>(this))
{
    mMainWindow->setWindowTitle(QLLocalizedString(QStringLiteral("ApplicationName")));
    mMainWindow->setWindowIcon(ResourceImage::brandIcon());
    mMainWindow->resize(kMainWindowSize);
    // Backup Now, the browser pages and the log viewer fill their tabs when they are built.
    mTabViewController->setControllers({}, mMainWindow.get());
    mTabViewController->setLogoForMainScreen(true);
    mTabViewController->setControlsStatus(false);
}

ClientWindows::~ClientWindows() = default;
