#pragma once

#include "engine/controllers/EngineControllerFields.h"
#include "engine/controllers/IndexQuery.h"
#include "index/TXDatabaseWrapperDelegate.h"

#include <QString>

class RuvoFolderSizeControllerDelegateProtocol;

// The total size and number of the files stored under one folder of the
// backup data, or under the whole account, from the account's main index
// (never the engine), on a worker thread.
class RuvoFolderSizeController : public EngineControllerFields, private TXDatabaseWrapperDelegate
{
public:
    explicit RuvoFolderSizeController(IndexTimings timings = {})
        : mQuery(timings)
    {}

    void setDelegate(RuvoFolderSizeControllerDelegateProtocol *delegate) { mDelegateObj = delegate; }
    // The folder as the index names it ("/Office/Users"); "" is the whole
    // account. A null path leaves the folder as it was.
    void setFilePath(const QString &path);
    QString mFilePath() const { return mFolderPath; }

    void startFolderSizeCalculation();

private:
    void queryFinishedWithOutput(const QVariant &output) override;
    void queryFailedWithError(const QString &error) override;

    RuvoFolderSizeControllerDelegateProtocol *mDelegateObj = nullptr;
    QString mFolderPath = QStringLiteral("");
    IndexQuery mQuery;  // last: goes first
};
