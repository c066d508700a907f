#pragma once

#include <QHash>
#include <QMenu>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

class TarnixMonitorController;

// The tray item and its status menu. Items that code changes carry their tag
// (MonitorMenuTags) and are found by it, not by their titles. Where no tray
// host runs, the item is not shown, but its menu and images stay, so that
// the program runs on and its menu can be driven.
class StatusItem : public QObject
{
    Q_OBJECT
public:
    explicit StatusItem(QObject *parent = nullptr);
    ~StatusItem() override;

    // Wires the menu's items to the controller's actions.
    void bind(TarnixMonitorController &controller);
    void show();

    QMenu &menu() { return *mMenu; }
    QMenu &schedulerMenu() { return *mSchedulerMenu; }
    QAction *itemWithTag(int tag) const { return mTagged.value(tag); }
    // An item by its (untranslated) title, for the items without a tag.
    QAction *itemTitled(const QString &title) const;

    void setImages(const QString &image, const QString &alternateImage);
    void setImage(const QString &image);
    QString image() const { return mImage; }
    QString alternateImage() const { return mAlternateImage; }
    void setToolTip(const QString &text);
    QString toolTip() const { return mTray.toolTip(); }
    QSystemTrayIcon &trayIcon() { return mTray; }

private:
    QAction *add(QMenu &menu, const QString &title, int tag = 0);
    void showImage(const QString &name);

    std::unique_ptr<QMenu> mMenu;
    QMenu *mSchedulerMenu = nullptr;
    QSystemTrayIcon mTray;
    QHash<int, QAction *> mTagged;
    QString mImage;
    QString mAlternateImage;
};
