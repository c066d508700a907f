#include "monitor/views/StatusItem.h"

#include "common/texts/QLLocalizedString.h"
#include "monitor/app/MonitorMenuTags.h"
#include "monitor/app/TarnixMonitorController.h"
#include "monitor/views/MonitorArtwork.h"

#include <QApplication>

namespace {

QString itemText(const char *key) { return QLLocalizedString(QString::fromUtf8(key)); }

}  // namespace

StatusItem::StatusItem(QObject *parent)
    : QObject(parent)
    , mMenu(std::make_unique<QMenu>())
{
    const QString application = itemText("ApplicationName");
    add(*mMenu, QStringLiteral("Backup now"));
    add(*mMenu, QStringLiteral("Show status"));
    mMenu->addSeparator();
    mSchedulerMenu = mMenu->addMenu(QLLocalizedString(QStringLiteral("Scheduler")));
    mSchedulerMenu->menuAction()->setProperty("tag", MonitorMenuTags::kSchedulerSubmenu);
    mTagged.insert(MonitorMenuTags::kSchedulerSubmenu, mSchedulerMenu->menuAction());
    add(*mSchedulerMenu, QStringLiteral("Disable all scheduled jobs"), MonitorMenuTags::kDisableAllSchedules);
    add(*mSchedulerMenu, QStringLiteral("Pause the scheduled job"), MonitorMenuTags::kPauseResume);
    add(*mSchedulerMenu, QStringLiteral("Stop the scheduled job"), MonitorMenuTags::kStopScheduledJob);
    add(*mSchedulerMenu, QStringLiteral("Show progress"));
    mSchedulerMenu->addSeparator();
    add(*mSchedulerMenu, QStringLiteral("Manage schedules..."));
    mMenu->addSeparator();
    add(*mMenu, QStringLiteral("View Log"));
    add(*mMenu, QStringLiteral("Session logs"));
    mMenu->addSeparator();
    add(*mMenu, QStringLiteral("Open %1").arg(application));
    add(*mMenu, QStringLiteral("Send error report..."));
    add(*mMenu, QStringLiteral("Preferences..."));
    mMenu->addSeparator();
    add(*mMenu, QStringLiteral("Quit %1").arg(application));
    mTray.setContextMenu(mMenu.get());
    // The menu's open image while it shows.
    connect(mMenu.get(), &QMenu::aboutToShow, this, [this] { showImage(mAlternateImage); });
    connect(mMenu.get(), &QMenu::aboutToHide, this, [this] { showImage(mImage); });
}

StatusItem::~StatusItem() { mTray.setContextMenu(nullptr); }

QAction *StatusItem::add(QMenu &menu, const QString &title, int tag)
{
    QAction *action = menu.addAction(QLLocalizedString(title));
    action->setObjectName(title);
    if (tag != 0) {
        action->setProperty("tag", tag);
        mTagged.insert(tag, action);
    }
    return action;
}

QAction *StatusItem::itemTitled(const QString &title) const
{
    for (QAction *action : mMenu->findChildren<QAction *>())
        if (action->objectName() == title)
            return action;
    return nullptr;
}

void StatusItem::bind(TarnixMonitorController &controller)
{
    const QString application = itemText("ApplicationName");
    const auto on = [this](const QString &title, auto &&work) {
        connect(itemTitled(title), &QAction::triggered, this, work);
    };
    on(QStringLiteral("Backup now"), [&controller] { controller.backupNow(); });
    on(QStringLiteral("Show status"), [&controller] { controller.showStatusWindow(); });
    on(QStringLiteral("Show progress"), [&controller] { controller.showProgress(); });
    on(QStringLiteral("View Log"), [&controller] { controller.viewLog(); });
    on(QStringLiteral("Session logs"), [&controller] { controller.viewSessionLog(); });
    on(QStringLiteral("Send error report..."), [&controller] { controller.showErrorReport(); });
    on(QStringLiteral("Manage schedules..."), [&controller] { controller.showSchedules(); });
    on(QStringLiteral("Preferences..."), [&controller] { emit controller.preferencesRequested(false); });
    on(QStringLiteral("Open %1").arg(application), [&controller] { controller.launchApplication(); });
    on(QStringLiteral("Quit %1").arg(application), [] { QApplication::quit(); });
    connect(itemWithTag(MonitorMenuTags::kDisableAllSchedules), &QAction::triggered, this,
            [&controller] { controller.removeAllSchedules(); });
    connect(itemWithTag(MonitorMenuTags::kPauseResume), &QAction::triggered, this,
            [&controller] { controller.pauseResume(MonitorMenuTags::kPauseResume); });
    connect(itemWithTag(MonitorMenuTags::kStopScheduledJob), &QAction::triggered, this,
            [&controller] { controller.cancelBackupFromSubmenu(); });
    // Opening the menu refreshes what it shows.
    connect(mMenu.get(), &QMenu::aboutToShow, &controller, &TarnixMonitorController::checkForTotalQuota);
}

void StatusItem::show()
{
    if (QSystemTrayIcon::isSystemTrayAvailable())
        mTray.show();
}

void StatusItem::setImages(const QString &image, const QString &alternateImage)
{
    mAlternateImage = alternateImage;
    setImage(image);
}

void StatusItem::setImage(const QString &image)
{
    mImage = image;
    showImage(image);
}

void StatusItem::showImage(const QString &name) { mTray.setIcon(QIcon(MonitorArtwork::image(name))); }

void StatusItem::setToolTip(const QString &text) { mTray.setToolTip(text); }
