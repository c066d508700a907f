#pragma once

#include "common/transfer/FileSystemNode.h"
#include "engine/command/TXCommandDelegate.h"
#include "engine/command/TXCommandExcecuter.h"
#include "engine/controllers/EngineControllerFields.h"

#include <QList>
#include <QString>

class RuvoVersionHistoryControllerDelegateProtocol;

// Asks the engine for the stored versions of one file of the backup data and
// hands them to its delegate as rows for the version table. The browser finds
// the file's record in the index first (a search for its path) and names the
// file by the record's server path.
class RuvoVersionHistoryController : public EngineControllerFields, private TXCommandDelegate
{
public:
    explicit RuvoVersionHistoryController(TXCommandExcecuterTimings timings = {})
        : mCommandExe(nullptr, timings)
    {}

    void setDelegate(RuvoVersionHistoryControllerDelegateProtocol *delegate) { mDelegateObj = delegate; }
    // The file's server path "/<folderID>/<encFilename>"; a null path leaves it as it was.
    void setFilePath(const QString &path);
    QString mFilePath() const { return mServerPath; }
    // The computer's data folder on the drive; a null folder is ignored.
    void setDestination(const QString &folder);
    void setMpcName(const QString &name) { mMpcName = name; }
    QString mpcName() const { return mMpcName; }

    void StartVersionHistory();

    // The version rows of the engine's output: one per line that reads as a
    // version line, in output order; other lines are skipped.
    QList<FileSystemNode> versionsFromOutput(const QString &output) const;

private:
    void ruvoTaskFinished(TXCommandExcecuter *runner) override;

    RuvoVersionHistoryControllerDelegateProtocol *mDelegateObj = nullptr;
    QString mServerPath = QStringLiteral("");
    QString mDestinationFolder;
    QString mMpcName;
    TXCommandExcecuter mCommandExe;
};
