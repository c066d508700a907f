#pragma once

#include "common/transfer/ProgressReport.h"
#include "session/progress/ProgressFigures.h"

#include <QElapsedTimer>
#include <QSet>
#include <QString>

#include <array>
#include <optional>

class FileTransferData;

// The progress accounting of one backup or restore session: it reads the
// engines' progress lines into progress reports, decides which are sent, and
// keeps the session's file counts, its bytes done and the transfer speed.
// Each file counts once per session, however often a retried block reports
// it; a file lies in one block only, so what was counted is kept per block.
// Main thread only.
class ProgressAccounting
{
public:
    static constexpr int kEngines = 2;

    // A fresh session; its clock starts now.
    void reset(bool restore, bool backupMode);
    // The engine starts a run on a new block.
    void blockHandedOver(int engine) { mRuns[engine].countedFiles.clear(); }
    // The engine starts a run (the first, the next block's or a retry's).
    void engineLaunched(int engine, bool firstLaunch);

    // Reads one parsed progress line of the engine into `report` (whose fields
    // carry over from the previous line of the same read). Returns the report
    // to send when this line is one to send. `totalBytes`: the bytes the
    // session found to back up or restore; `syncParentFolder`: in sync mode,
    // the folder the engine's block hangs from.
    std::optional<ProgressReport> readLine(const FileTransferData &record, int engine, ProgressReport &report,
                                           double totalBytes, const QString &syncParentFolder);

    // Whether a progress line names a file (the engine writes "(null)" for none).
    static bool namesAFile(const FileTransferData &record);

    long successCount() const { return mSuccessCount; }
    long incSuccessCount() const { return mIncSuccessCount; }
    long syncFileCount() const { return mSyncFilesCountTheFly; }

private:
    // What one engine's runs have moved in this session.
    struct EngineRun
    {
        double thisRun = 0;           // bytes of the running block so far, as the engine counts them
        double tillPreviousRuns = 0;  // bytes of its earlier runs
        QSet<QString> countedFiles;   // the files of its block counted so far, stored or in sync
    };

    double bytesDone() const;
    void setFigures(const FileTransferData &record, ProgressReport &report, double totalBytes);

    bool mRestore = false;
    bool mBackupMode = true;
    std::array<EngineRun, kEngines> mRuns;
    QElapsedTimer mSessionClock;  // not the wall clock: reading that per line costs a time-zone lookup
    TransferSpeedHistory mSpeedHistory;
    long mBlockCount = 0;
    long mSuccessCount = 0;
    long mIncSuccessCount = 0;
    long mSyncFilesCountTheFly = 0;
    double mSyncTotalBytes = 0;  // of the files found in sync
};
