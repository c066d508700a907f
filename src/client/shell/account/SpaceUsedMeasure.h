#pragma once

#include "client/shell/account/SpaceUsedWalk.h"
#include "engine/controllers/RuvoFolderSizeControllerDelegateProtocol.h"
#include "index/IndexTimings.h"

#include <QString>

#include <atomic>
#include <memory>

class QObject;
class RuvoFolderSizeController;
class User;

// The space used on the backup drive as the sidebar shows it. The account's index knows the
// size of every file it holds and answers in moments; only when it cannot answer (no index
// yet, one that will not open) or knows no file of the account is the user's folder on the
// drive walked, with the walk's pause after each entry, which takes minutes on a large drive.
// A new measure, a measure of another folder or the program's end drops the running one.
class SpaceUsedMeasure : private RuvoFolderSizeControllerDelegateProtocol
{
public:
    using Result = SpaceUsedWalk::Result;

    explicit SpaceUsedMeasure(IndexTimings indexTimings = {},
                              std::chrono::microseconds walkPause = QLUtility::kSizeWalkPause);
    ~SpaceUsedMeasure() override;
    SpaceUsedMeasure(const SpaceUsedMeasure &) = delete;
    SpaceUsedMeasure &operator=(const SpaceUsedMeasure &) = delete;

    // Measures the account's folder on the drive; the result reaches receiver's thread (the
    // thread that made this measure), which must outlive this measure.
    void start(const User &account, const QString &folder, QObject *receiver, Result result);
    // Stops the running measure unless it measures this folder (the account changed).
    void keepOnlyFor(const QString &folder);
    void stop();

private:
    // From the index query's worker thread.
    void FolderSizeCalculationDidFinishSuccessfully(RuvoFolderSizeController *controller,
                                                    const QVariantMap &output) override;
    void FolderSizeCalculationDidFailWithError(const QString &error, RuvoFolderSizeController *controller) override;
    // On the receiver's thread: the index gave no figure.
    void walk(quint64 measure);

    IndexTimings mIndexTimings;
    SpaceUsedWalk mWalk;
    QString mFolder;
    QObject *mReceiver = nullptr;
    Result mResult;
    std::atomic<quint64> mMeasure{0};  // which measure the index answers belong to
    // The index answers reach this object's thread through it: once it is gone, so are they.
    std::unique_ptr<QObject> mRelay;
    std::unique_ptr<RuvoFolderSizeController> mIndex;  // last: goes first
};
