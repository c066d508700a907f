#pragma once

#include "engine/command/TXCommandDelegate.h"
#include "engine/command/TXCommandExcecuter.h"
#include "engine/controllers/EngineControllerFields.h"

#include <QStringList>
#include <QVariantMap>

#include <memory>

class QTemporaryDir;
class RuvoMoveToOriginalControllerDelegateProtocol;

// Asks the engine to put stored items back at their original place on the
// drive. The items are named by their stored paths; the engine answers one
// line per item with what it did.
class RuvoMoveToOriginalController : public EngineControllerFields, private TXCommandDelegate
{
public:
    explicit RuvoMoveToOriginalController(TXCommandExcecuterTimings timings = {});
    ~RuvoMoveToOriginalController() override;

    void setDelegate(RuvoMoveToOriginalControllerDelegateProtocol *delegate) { mDelegateObj = delegate; }
    void setFilesArray(const QStringList &paths) { mFilesArray = paths; }
    const QStringList &filesArray() const { return mFilesArray; }

    // Starts the run; the delegate hears its end.
    void moveFilesToOriginalLocation();

    // The result dictionary of the engine's output: every line that names
    // both an operation and an item, under "<op><n>", n counting such lines from 0.
    static QVariantMap resultsFromOutput(const QString &output);

private:
    void ruvoTaskFinished(TXCommandExcecuter *runner) override;
    void fail(const QString &error);

    RuvoMoveToOriginalControllerDelegateProtocol *mDelegateObj = nullptr;
    TXCommandExcecuter mCommandExe;
    QStringList mFilesArray;
    // The list and error files of the run in flight, in a folder of this user's alone.
    std::unique_ptr<QTemporaryDir> mRunFolder;
};
