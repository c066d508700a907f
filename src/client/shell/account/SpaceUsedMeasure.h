#pragma once

#include "client/shell/account/SpaceUsedWalk.h"
#include "engine/controllers/RuvoFolderSizeControllerDelegateProtocol.h"
#include "index/IndexTimings.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>

class QObject;
class QTimer;
class RuvoFolderSizeController;
class User;

struct SpaceUsedTimings
{
    // Of the index connections the queries make.
    IndexTimings index;
    // The walk rests this long after each entry.
    std::chrono::microseconds walkPause = QLUtility::kSizeWalkPause;
    // While the drive is walked, the index is asked again this often: a first backup gives
    // the drive its index, which then answers long before the walk ends.
    std::chrono::milliseconds indexRetry{10000};
};

// The space used on the backup drive as the sidebar shows it. The account's index knows the
// size of every file it holds and answers in moments; only while it cannot answer (no index
// yet, one that will not open) or knows no file of the account is the user's folder on the
// drive walked, with the walk's pause after each entry, which takes minutes on a large drive.
// A new measure, a measure of another folder or the program's end drops the running one.
class SpaceUsedMeasure : private RuvoFolderSizeControllerDelegateProtocol
{
public:
    using Result = SpaceUsedWalk::Result;

    explicit SpaceUsedMeasure(const SpaceUsedTimings &timings = {});
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
    void askIndex();
    // From the index query's worker thread.
    void FolderSizeCalculationDidFinishSuccessfully(RuvoFolderSizeController *controller,
                                                    const QVariantMap &output) override;
    void FolderSizeCalculationDidFailWithError(const QString &error, RuvoFolderSizeController *controller) override;
    // On this object's thread: the index's answer, none when it gave no figure.
    void indexAnswered(quint64 measure, std::optional<quint64> bytes);
    void finish(quint64 bytes);

    SpaceUsedTimings mTimings;
    SpaceUsedWalk mWalk;
    QString mFolder;
    QObject *mReceiver = nullptr;
    Result mResult;
    std::atomic<quint64> mMeasure{0};  // which measure the index answers belong to
    // The index answers reach this object's thread through it: once it is gone, so are they.
    std::unique_ptr<QObject> mRelay;
    std::unique_ptr<QTimer> mRetry;
    std::unique_ptr<RuvoFolderSizeController> mIndex;  // last: goes first
};
