#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

class TarnixSchedulerController;

// The status refresh of the tray item: the quota warning (a blinking icon and
// its tool tip) or the tool tip that tells when the next scheduled backup
// starts, and the schedule window the client asked to be opened. It decides;
// the tray item shows (a 0.5 s timer swaps the two images while it blinks).
class StatusRefresh
{
public:
    enum class Blink
    {
        Unchanged,
        Start,
        Stop
    };

    struct Outcome
    {
        Blink blink = Blink::Unchanged;
        std::optional<QString> toolTip;  // none: keep the last one
        bool resetImages = false;        // back to the brand's two tray images
        bool openScheduleWindow = false;
    };

    explicit StatusRefresh(TarnixSchedulerController &store)
        : mStore(store)
    {}

    // One refresh at `now`: only the first brand warns of the quota, and only when
    // the user's quota plist exists; the warning stops as soon as the quota recovers.
    Outcome checkForTotalQuota(const QDateTime &now);
    bool isBlinking() const { return mBlinking; }

    // The tool tip while nothing warns: disabled jobs, the next job's time, or no jobs.
    QString scheduleToolTip(const QDateTime &now) const;
    // Once when the client asked for it ("ViewScheduleDetails" of the user's
    // BackupFailCountFilePath plist), which is then written back as false.
    bool displayScheduleDetails() const;

private:
    TarnixSchedulerController &mStore;
    bool mBlinking = false;
};
