#pragma once

#include "engine/rebuild/DatabaseInitializerControllerDelegateProtocol.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class RemoteActivity;
class RemoteTreeController;

// The re-index of the drive's index from what is really stored on the drive.
// While it runs, the program's re-index flag is set and the status file exists,
// so every operation on the index refuses; the tree shows nothing. The engine's
// error texts are only logged: the run ends once, at the controller's finish,
// with the tree listed again and, when the index was not replaced, a message.
class ReIndexOperation : public QObject, private DatabaseInitializerControllerDelegateProtocol
{
    Q_OBJECT

public:
    using Factory = std::function<std::unique_ptr<DatabaseInitializerController>()>;

    static inline const QString kQuestionText = QStringLiteral(
        "This operation will rearrange and verify the integrity of your express data. This may take several minutes. "
        "Would you like to proceed?\n\nNote: During re-indexing you cannot perform backup, restore, delete, search or "
        "rename opeations.");
    static inline const QString kOperationName = QStringLiteral("Re-indexing express data");
    static inline const QString kFailedText =
        QStringLiteral("The express data could not be re-indexed. Your previous index is kept.");

    // factory: the rebuild's controller; the default one runs the engine.
    ReIndexOperation(RemoteActivity &activity, RemoteTreeController &tree, Factory factory = {},
                     QObject *parent = nullptr);
    ~ReIndexOperation() override;

    // The menu's entry: asks, then rebuilds the index of the user's data root.
    void reIndexDatabase();
    bool isRunning() const { return mController != nullptr; }
    // The engine's error texts of the running or last run, as logged.
    QStringList errors() const { return mErrors; }

private:
    void databaseInitialisationDidStart(DatabaseInitializerController *controller) override;
    void databaseInitialisationDidFailWitherror(const QString &error) override;
    void databaseInitialisationDidFinish(DatabaseInitializerController *controller) override;
    // The one end: flags off, status file gone, tree listed again.
    void end(bool indexReplaced);

    RemoteActivity &mActivity;
    RemoteTreeController &mTree;
    Factory mFactory;
    std::unique_ptr<DatabaseInitializerController> mController;
    bool mStarted = false;
    QStringList mErrors;
};
