#pragma once

#include "common/logging/QLBackupProgressLogger.h"
#include "engine/controllers/TXRenameControllerDelegateProtocol.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <map>
#include <memory>

class RemoteActivity;
class RemoteTreeController;
class TXRenameController;
class TreeViewNode;

// The rename of stored items in place, from the tree's Name column: the edited
// name is checked, the item renamed on the drive and in the index (one rename
// controller each), and the tree follows. Several renames may run at once; the
// session ends with the last of them. Folders being renamed do not open.
class RenameOperation : public QObject, private TXRenameControllerDelegateProtocol
{
    Q_OBJECT

public:
    static inline const QString kFailedText = QStringLiteral("Unable to rename. Try later.");
    static inline const QString kOperationName = QStringLiteral("Renaming...");

    RenameOperation(RemoteActivity &activity, RemoteTreeController &tree, QObject *parent = nullptr);
    ~RenameOperation() override;

    // The menu's entry: whether the clicked item's name may be edited now.
    bool mayEdit();
    // The edit ended with a name: a valid new name starts the rename, a refused one
    // is explained, the same or an empty one does nothing. True when a rename started.
    bool renameItem(const TreeViewNode &node, const QString &newName);
    // Whether the folder may open (nothing at or above it is being renamed).
    bool mayExpand(const TreeViewNode &folder) const;
    bool isRunning() const { return !mRenameItems.isEmpty(); }
    QString sessionLogPath() const { return mRenameSessionFilePath; }

private:
    void renameDidReceiveData(const QString &oldPath, const QString &newPath) override;
    void renameDiDFinish(TXRenameController *controller) override;
    void renameDidFailWithError(const QString &error, TXRenameController *controller, const QString &path) override;

    // The controller is done: released once its call has returned.
    void release(TXRenameController *controller);
    void endSession(const QString &status);
    void toLog(const QString &text, bool flush = true);

    RemoteActivity &mActivity;
    RemoteTreeController &mTree;
    QLBackupProgressLogger mRenameLogger;
    // The "/"-prefixed old paths of the renames in progress.
    QSet<QString> mRenameItems;
    // Each rename's controller with the old path it renames.
    std::map<TXRenameController *, std::pair<std::unique_ptr<TXRenameController>, QString>> mControllers;
    QString mRenameSessionFilePath;
};
