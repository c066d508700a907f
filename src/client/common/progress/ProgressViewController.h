#pragma once

#include "client/common/progress/ProgressPaneState.h"

#include <QObject>
#include <QTimer>

#include <chrono>

class ProgressReport;

class ProgressView;
class ProgressViewDelegateProtocol;

// How often the progress pane is redrawn at most.
struct ProgressPaneTimings
{
    std::chrono::milliseconds refreshInterval{250};
};

// The progress pane of a backup (and of the browser's restores and searches):
// keeps the texts its owner sets and forwards its buttons to the owner. The
// view is redrawn at most once per refresh interval, however fast the owner
// sets texts, so that a session with many small files never waits on drawing.
class ProgressViewController : public QObject
{
    Q_OBJECT

public:
    using Timings = ProgressPaneTimings;

    explicit ProgressViewController(Timings timings = {}, QObject *parent = nullptr);

    void setDelegate(ProgressViewDelegateProtocol *delegate) { mDelegateObject = delegate; }
    ProgressViewDelegateProtocol *delegate() const { return mDelegateObject; }
    // The widgets; none: the state is only kept.
    void setView(ProgressView *view);

    const ProgressPaneState &state() const { return mState; }

    // --- Buttons ---
    // Pause while running, resume while paused.
    void pause();
    void stop();
    void toggle();
    void autoPause() {}

    // --- What the owner sets ---
    void setHiddenPauseButton(bool hidden);
    void setHiddenPauseAndStopButton(bool hidden);
    void setElapsedTime(const QString &text);
    void setEstimatedTime(const QString &text);
    void setMessage(const QString &text);
    void setFilePath(const QString &text);
    void setSpeedtext(const QString &text);
    void setProgressStatus(const QString &text);
    // A number as text, 0 to 100: "<text> %" and the bar.
    void setPercentage(const QString &text);
    // What a session's report says of its file: the transfer (its mode, unless a sync, the
    // name and the size), the speed, and the status line given ("Backup progress").
    void showTransfer(const ProgressReport &report, const QString &status);
    void startIndeterminateProgressIndicator();
    void stopIndeterminateProgressIndicator();
    // A new operation: texts emptied, "Preparing file list...", running, buttons hidden.
    void onOperationStart();
    void setHidden(bool hidden);
    bool isHidden() const { return mState.hidden; }
    // Draws what is pending now.
    void refreshView();

private:
    template <class Change>
    void change(Change &&apply);

    Timings mTimings;
    ProgressViewDelegateProtocol *mDelegateObject = nullptr;
    ProgressView *mView = nullptr;
    ProgressPaneState mState;
    QTimer mRefreshTimer;
    bool mDirty = false;
};
