#pragma once

#include "client/browser/operations/DeleteRules.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "engine/controllers/RuvoDeleteControllerDelegateProtocol.h"

#include <QObject>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

class RemoteActivity;
class RemoteTreeController;
class TreeViewNode;

struct DeleteTimings
{
    // The quota is measured again this long after a delete ends.
    std::chrono::milliseconds quotaDelay{5000};
};

// The delete of stored items from the destination tree: the clicked item (menu) or
// the checked ones (button), through the program's one delete controller. The
// search results delete their rows through it too, each page with its own. Each run
// keeps its own copy of what it deletes and of what the controller reported, so
// that only the items reported gone leave the tree and the index. One delete runs
// at a time, counting the search page's.
class DeleteOperation : public QObject, private RuvoDeleteControllerDelegateProtocol
{
    Q_OBJECT

public:
    static inline const QString kQuestionText = QStringLiteral("Would you like to delete the selected item(s)?");
    static inline const QString kNothingCheckedText = QStringLiteral("No items selected");
    static inline const QString kFailedText = QStringLiteral("Unable to delete. Try later.");
    static inline const QString kPartlyFailedText =
        QStringLiteral("Some items could not be deleted. For details check the session log.");
    static inline const QString kBusyText = QStringLiteral("A delete is in progress. Try again when it has ended.");
    static inline const QString kOperationName = QStringLiteral("Deleting...");

    DeleteOperation(RemoteActivity &activity, RemoteTreeController &tree, DeleteTimings timings = {},
                    QObject *parent = nullptr);
    // A page other than the tree: removeDeleted takes away what was deleted (tree paths).
    using RemoveDeleted = std::function<void(const QStringList &treePaths)>;
    DeleteOperation(RemoteActivity &activity, RemoveDeleted removeDeleted, DeleteTimings timings = {},
                    QObject *parent = nullptr);
    ~DeleteOperation() override;

    // The menu's delete: the clicked item.
    void delteFile(const TreeViewNode *clicked);
    // The button: every checked item.
    void deleteFileFromServer();
    // The items a page picked (tree paths); nothingText in the status line for none.
    void deleteItems(const QList<RestoreRules::CheckedItem> &items, const QString &nothingText);
    bool isRunning() const { return mRun.has_value(); }
    QString sessionLogPath() const { return mDeleteSessionFilePath; }

private:
    // Asks, prepares the session log, then starts; false when nothing started.
    bool start(const QList<RestoreRules::CheckedItem> &items);
    bool refusedWhileBusy();

    void deleteDidStart(RuvoDeleteController *) override {}
    void deleteDidReceiveData(const QString &path) override;
    void deleteDidReceiveErrors(const QString &error, const QString &path) override;
    void deleteDidFinishSuccessfully(RuvoDeleteController *controller) override;
    void deleteDidFailWithError(const QString &error, RuvoDeleteController *controller) override;
    void deleteDidCancel(RuvoDeleteController *controller) override;

    // The run's one end: applies what was reported, writes the end, records it.
    void end(bool cancelled);
    void toLog(const QString &text, bool flush = true);
    void toLogs(const QString &text, bool flush);

    RemoteActivity &mActivity;
    RemoteTreeController *mTree = nullptr;  // none for another page
    RemoveDeleted mRemoveDeleted;
    const DeleteTimings mTimings;
    QLBackupProgressLogger mDeleteLogger;
    std::optional<DeleteRules::DeleteRun> mRun;
    QString mComputerFolder;  // of the running delete, as the index names it
    QStringList mDeleted;     // tree paths
    QStringList mFailed;      // tree paths
    QStringList mErrors;      // whole-set failures
    QString mDeleteSessionFilePath;
    int mTotalDeleteFileCount = 0;
};
