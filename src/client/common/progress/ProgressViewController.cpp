#include "client/common/progress/ProgressViewController.h"

#include "client/common/progress/ProgressView.h"
#include "client/common/progress/ProgressViewDelegateProtocol.h"
#include "common/transfer/ProgressReport.h"

ProgressViewController::ProgressViewController(Timings timings, QObject *parent)
    : QObject(parent)
    , mTimings(timings)
{
    mRefreshTimer.setSingleShot(true);
    mRefreshTimer.setInterval(mTimings.refreshInterval);
    connect(&mRefreshTimer, &QTimer::timeout, this, &ProgressViewController::refreshView);
}

void ProgressViewController::setView(ProgressView *view)
{
    mView = view;
    refreshView();
}

template <class Change>
void ProgressViewController::change(Change &&apply)
{
    apply(mState);
    mDirty = true;
    if (!mRefreshTimer.isActive())
        mRefreshTimer.start();
}

void ProgressViewController::refreshView()
{
    mRefreshTimer.stop();
    if (mView && mDirty)
        mView->showProgressState(mState);
    mDirty = false;
}

void ProgressViewController::pause()
{
    const bool wasPaused = mState.paused;
    change([](ProgressPaneState &state) { state.paused = !state.paused; });
    if (mDelegateObject) {
        if (wasPaused)
            mDelegateObject->resumeProcess(*this);
        else
            mDelegateObject->pauseProcess(*this);
    }
    refreshView();
}

void ProgressViewController::stop()
{
    if (mDelegateObject)
        mDelegateObject->stopProcess(*this);
}

void ProgressViewController::toggle()
{
    if (mDelegateObject)
        mDelegateObject->toggleProgressView(*this, true);
}

void ProgressViewController::setHiddenPauseButton(bool hidden)
{
    change([hidden](ProgressPaneState &state) { state.pauseButtonHidden = hidden; });
}

void ProgressViewController::setHiddenPauseAndStopButton(bool hidden)
{
    change([hidden](ProgressPaneState &state) { state.pauseButtonHidden = state.stopButtonHidden = hidden; });
}

void ProgressViewController::setElapsedTime(const QString &text)
{
    change([&text](ProgressPaneState &state) { state.elapsedTime = QStringLiteral("Elapsed Time: %1").arg(text); });
}

void ProgressViewController::setEstimatedTime(const QString &text)
{
    // An empty estimate (nothing left to do) shows none.
    change([&text](ProgressPaneState &state) {
        state.estimatedTime = text.isEmpty() ? QString() : QStringLiteral("Estimated Time: %1").arg(text);
    });
}

void ProgressViewController::setMessage(const QString &text)
{
    change([&text](ProgressPaneState &state) { state.message = text; });
}

void ProgressViewController::setFilePath(const QString &text)
{
    change([&text](ProgressPaneState &state) { state.filePath = text; });
}

void ProgressViewController::setSpeedtext(const QString &text)
{
    change([&text](ProgressPaneState &state) { state.speed = text; });
}

void ProgressViewController::setProgressStatus(const QString &text)
{
    change([&text](ProgressPaneState &state) { state.status = text; });
}

void ProgressViewController::showTransfer(const ProgressReport &report, const QString &status)
{
    if (report.has(ProgressReport::Filename)) {
        const QString transferMode = report.value(ProgressReport::TansferMode);
        const QString shownMode = transferMode.toLower().contains(QStringLiteral("sync")) ? QString() : transferMode;
        setFilePath(
            QStringLiteral("%1 %2  (%3)")
                .arg(shownMode, report.value(ProgressReport::Filename), report.value(ProgressReport::Filesize)));
    }
    if (report.has(ProgressReport::TransferSpeed))
        setSpeedtext(report.value(ProgressReport::TransferSpeed));
    setProgressStatus(status);
}

void ProgressViewController::setPercentage(const QString &text)
{
    change([&text](ProgressPaneState &state) {
        state.percentageText = text + QStringLiteral(" %");
        state.level = text.toDouble();
    });
}

void ProgressViewController::startIndeterminateProgressIndicator()
{
    change([](ProgressPaneState &state) { state.indeterminate = true; });
}

void ProgressViewController::stopIndeterminateProgressIndicator()
{
    change([](ProgressPaneState &state) { state.indeterminate = false; });
}

void ProgressViewController::onOperationStart()
{
    change([](ProgressPaneState &state) {
        state.speed.clear();
        state.estimatedTime.clear();
        state.elapsedTime.clear();
        state.filePath.clear();
        state.status = QStringLiteral("Preparing file list...");
        state.paused = false;
        state.pauseButtonHidden = state.stopButtonHidden = true;
        state.percentageText.clear();
    });
}

void ProgressViewController::setHidden(bool hidden)
{
    change([hidden](ProgressPaneState &state) { state.hidden = hidden; });
}
