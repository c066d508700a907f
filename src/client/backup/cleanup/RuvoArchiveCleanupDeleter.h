#pragma once

#include "client/backup/cleanup/ArchiveCleanupDeleter.h"
#include "engine/controllers/RuvoDeleteControllerDelegateProtocol.h"

#include <QSet>
#include <QStringList>

#include <functional>

// Cleanup Now's deletions through the engine's delete controller: the listed
// index paths become the controller's selection (a folder by its path, files
// by their parent folder), the items it reports come back as index paths, and
// the deletion ends once: with success, or with the first failure of any of
// its runs once the last one has ended.
class RuvoArchiveCleanupDeleter : public ArchiveCleanupDeleter, private RuvoDeleteControllerDelegateProtocol
{
public:
    // The shared delete controller, and what fills it with the signed-in account before each deletion.
    RuvoArchiveCleanupDeleter(RuvoDeleteController &controller, std::function<void(RuvoDeleteController &)> prepare);
    ~RuvoArchiveCleanupDeleter() override;

    void startDelete(const QString &accountFolder, const QString &computerFolder, const QStringList &items,
                     ArchiveCleanupDeleteEvents &events) override;

private:
    void deleteDidStart(RuvoDeleteController *) override;
    void deleteDidReceiveData(const QString &path) override;
    void deleteDidReceiveErrors(const QString &error, const QString &path) override;
    void deleteDidFinishSuccessfully(RuvoDeleteController *) override;
    void deleteDidFailWithError(const QString &error, RuvoDeleteController *controller) override;
    void deleteDidCancel(RuvoDeleteController *) override;

    // The listed index path of an item the controller reported, by its path
    // below the computer folder or by its index path; "" for an item that was
    // not asked for.
    QString indexPathOf(const QString &reported) const;
    bool isInListedFolder(const QString &indexPath) const;
    // Ends the deletion once: with the first run's failure, or with success.
    void finish(bool failed);

    RuvoDeleteController &mController;
    std::function<void(RuvoDeleteController &)> mPrepare;
    ArchiveCleanupDeleteEvents *mEvents = nullptr;
    QString mComputerFolder;
    QSet<QString> mFiles;
    QStringList mFolders;      // each ends in "/"
    bool mRunFailed = false;   // an engine run failed as a whole
    bool mItemFailed = false;  // the engine could not delete an item
    QString mFirstError;
};
