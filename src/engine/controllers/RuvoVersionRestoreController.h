#pragma once

#include "common/logging/QLBackupProgressLogger.h"
#include "engine/command/TarnixProcessLib.h"
#include "engine/command/TarnixProcessLibController.h"
#include "engine/controllers/EngineControllerFields.h"
#include "engine/controllers/VersionRestoreProgress.h"
#include "engine/parsing/TXVersion.h"

#include <QDateTime>
#include <QString>

class QLApplicationDelegate;
class VersionRestoreProtocol;

// Restores one stored version of one file from the drive into a local folder
// by one engine run through the session engine wrapper, reporting its
// progress, and writes the run's session log and summary. The application
// keeps one for its whole life; the version view sets it up before each start.
class RuvoVersionRestoreController : public EngineControllerFields, private TarnixProcessLibController
{
public:
    explicit RuvoVersionRestoreController(TarnixProcessLibTimings timings = {},
                                          VersionRestoreProgress::Draw draw = VersionRestoreProgress::uniformDraw);

    void setDelegate(VersionRestoreProtocol *delegate) { mDelegate = delegate; }
    VersionRestoreProtocol *delegate() const { return mDelegate; }
    // Receives the session record at the end; the program's main controller when none is set.
    void setMainController(QLApplicationDelegate *controller) { mMainController = controller; }
    void setRestoreDestination(const QString &folder) { mRestoreFilePath = folder; }
    // The account's data root on the drive (its computer folder).
    void setDestination(const QString &folder) { mDestinationFolder = folder; }
    void setVersionFilepath(const QString &path) { mVersionFilepath = path; }
    QString versionFilepath() const { return mVersionFilepath; }
    void setSelectedVersionObj(const TXVersion &version) { mSelectedVersionObj = version; }
    void setMDisplayFilePath(const QString &path) { mDisplayFilePath = path; }

    bool isRestoring() const { return mIsRestoring; }
    bool isCancelled() const { return mIsCancelled; }
    QString versionFileSize() const { return mVersionFileSize; }
    QString versionFileVersion() const { return mVersionFileVersion; }
    QString pathForRestore() const { return mPathForRestore; }
    // The operation folder of the current or last run.
    QString operationFolder() const { return mBackupRuvoTempPath; }
    QString sessionLogPath() const { return mRestoreSessionFilePath; }

    // Starts restoring the selected version; ignored while a run (or the
    // finish of a cancelled one) is still outstanding.
    void versionRestore();
    void cancelRestore();

private:
    void updateProgress(const QString &lines, TarnixProcessLib *engine) override;
    void getError(const QString &text, TarnixProcessLib *engine) override;
    void processFinishedOfEngine(TarnixProcessLib *engine) override;

    bool createTempFilePaths();
    void writeStartOfSessionLog();
    bool RuvofireBackupProcessForEngine(const QString &listFile);
    void log(const QString &line, bool flush = true);
    // The end lines, the summary and the session record of a run.
    void closeSession(const QString &status, const QString &lastLine, bool restored);
    void fail(const QString &error);

    TarnixProcessLib mEngineOne;
    QLBackupProgressLogger mSessionLogger;
    const VersionRestoreProgress::Draw mDraw;
    VersionRestoreProtocol *mDelegate = nullptr;
    QLApplicationDelegate *mMainController = nullptr;
    QString mRestoreFilePath;
    QString mDestinationFolder;
    QString mVersionFilepath;
    TXVersion mSelectedVersionObj;
    QString mDisplayFilePath;
    QString mPathForRestore;
    QString mVersionFileSize;
    QString mVersionFileVersion;
    QString mApplicationSupportFolderPath;
    QString mBackupRuvoTempPath;
    QString mSourceA;
    QString mErrorA;
    QString mRestoreSessionFilePath;
    QString mFirstError;
    QDateTime mStartTime;
    bool mIsRestoring = false;
    bool mIsCancelled = false;
    bool mVersionRestoreDidFail = false;
    // A started run whose finish has not come yet: the wrapper reports it a
    // while after the engine ended, and it must not end a later run.
    bool mRunOutstanding = false;
};
