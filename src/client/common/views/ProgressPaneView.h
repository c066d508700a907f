#pragma once

#include "client/common/progress/ProgressView.h"

#include <QWidget>

class ProgressViewController;
class QLabel;
class QProgressBar;
class QPushButton;

// The progress pane's widgets: status, file, times, percentage with its bar
// (a spinner while the amount of work is unknown), speed, the message line,
// and the pause/resume and stop buttons, which go to the pane's controller.
class ProgressPaneView : public QWidget, public ProgressView
{
    Q_OBJECT

public:
    explicit ProgressPaneView(ProgressViewController &controller, QWidget *parent = nullptr);

    void showProgressState(const ProgressPaneState &state) override;

    QPushButton *pauseButton() const { return mPauseButton; }
    QPushButton *stopButton() const { return mStopButton; }
    QLabel *statusLabel() const { return mProceesStatus; }
    QLabel *filePathLabel() const { return mFilePath; }
    QLabel *percentageLabel() const { return mPercentageText; }

private:
    QLabel *mProceesStatus;
    QLabel *mFilePath;
    QLabel *mElapsedTime;
    QLabel *mEstimatedTime;
    QLabel *mPercentageText;
    QLabel *mSpeedText;
    QLabel *mMessage;
    QProgressBar *mLevelIndicator;
    QProgressBar *mProgressIndicator;
    QPushButton *mPauseButton;
    QPushButton *mStopButton;
};
