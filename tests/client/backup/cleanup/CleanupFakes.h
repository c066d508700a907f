#pragma once

#include "../now/BackupNowFakes.h"

#include "client/backup/cleanup/ArchiveCleanupDeleter.h"
#include "client/backup/cleanup/ArchiveCleanupIndex.h"
#include "client/backup/cleanup/ArchiveCleanupView.h"

#include <QStringList>

#include <functional>
#include <optional>

class FakeIndex : public ArchiveCleanupIndex
{
public:
    std::optional<QStringList> getAllEntriesFromMainDBWithPathLike(const QString &indexPath) override
    {
        if (lookupStarted)
            lookupStarted();
        if (unreadable)
            return std::nullopt;
        QStringList found;
        for (const QString &entry : entries)
            if (entry == indexPath || entry.startsWith(indexPath + '/'))
                found.append(entry);
        return found;
    }
    void addFileToDelete(const QString &indexPath) override { removed.append(indexPath); }

    QStringList entries;
    QStringList removed;
    std::function<void()> lookupStarted;
    bool unreadable = false;
};

class FakeDeleter : public ArchiveCleanupDeleter
{
public:
    void startDelete(const QString &to, const QString &folder, const QStringList &paths,
                     ArchiveCleanupDeleteEvents &) override
    {
        destination = to;
        computerFolder = folder;
        items = paths;
    }
    QString destination;
    QString computerFolder;
    QStringList items;
};

class FakeCleanupView : public ArchiveCleanupView
{
public:
    void showMessageWindow() override { messageOpen = true; }
    void closeMessageWindow() override { messageOpen = false; }
    void setPreparingListShown(bool shown) override { preparing = shown; }
    void showListWindow(const QString &paths) override
    {
        listOpen = true;
        text = paths;
    }
    QString listText() const override { return text; }
    void closeListWindow() override { listOpen = false; }
    void setDeletingShown(bool shown) override { deleting = shown; }

    bool messageOpen = false;
    bool preparing = false;
    bool listOpen = false;
    QString text;
    bool deleting = false;
};
