#include "client/common/views/ProgressPaneView.h"

#include "client/common/progress/ProgressPaneState.h"
#include "client/common/progress/ProgressViewController.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *label(QWidget *parent, bool bold = false)
{
    auto *text = new QLabel(parent);
    text->setTextInteractionFlags(Qt::NoTextInteraction);
    if (bold) {
        QFont font = text->font();
        font.setBold(true);
        text->setFont(font);
    }
    return text;
}

}  // namespace

ProgressPaneView::ProgressPaneView(ProgressViewController &controller, QWidget *parent)
    : QWidget(parent)
    , mProceesStatus(label(this, true))
    , mFilePath(label(this))
    , mElapsedTime(label(this))
    , mEstimatedTime(label(this))
    , mPercentageText(label(this, true))
    , mSpeedText(label(this))
    , mMessage(label(this))
    , mLevelIndicator(new QProgressBar(this))
    , mProgressIndicator(new QProgressBar(this))
    , mPauseButton(new QPushButton(QStringLiteral("Pause"), this))
    , mStopButton(new QPushButton(QStringLiteral("Stop"), this))
{
    setObjectName(QStringLiteral("ProgressView"));
    mFilePath->setMinimumWidth(100);
    mFilePath->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    mLevelIndicator->setRange(0, 1000);
    mLevelIndicator->setTextVisible(false);
    mProgressIndicator->setRange(0, 0);  // busy
    mProgressIndicator->setTextVisible(false);
    mPauseButton->setToolTip(QStringLiteral("Pause"));
    mStopButton->setToolTip(QStringLiteral("Stop operation"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mPauseButton);
    buttons->addWidget(mStopButton);

    auto *bars = new QHBoxLayout;
    bars->addWidget(mLevelIndicator, 1);
    bars->addWidget(mProgressIndicator, 1);
    bars->addWidget(mPercentageText);

    auto *times = new QGridLayout;
    times->addWidget(mElapsedTime, 0, 0);
    times->addWidget(mEstimatedTime, 0, 1);
    times->addWidget(mSpeedText, 0, 2, Qt::AlignRight);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(mProceesStatus);
    layout->addWidget(mFilePath);
    layout->addLayout(bars);
    layout->addLayout(times);
    layout->addWidget(mMessage);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(mPauseButton, &QPushButton::clicked, this, [&controller] { controller.pause(); });
    connect(mStopButton, &QPushButton::clicked, this, [&controller] { controller.stop(); });
    controller.setView(this);
    showProgressState(controller.state());
}

void ProgressPaneView::showProgressState(const ProgressPaneState &state)
{
    mProceesStatus->setText(state.status);
    mFilePath->setText(fontMetrics().elidedText(state.filePath, Qt::ElideMiddle, qMax(100, mFilePath->width())));
    mFilePath->setToolTip(state.filePath);
    mElapsedTime->setText(state.elapsedTime);
    mEstimatedTime->setText(state.estimatedTime);
    mPercentageText->setText(state.percentageText);
    mSpeedText->setText(state.speed);
    mMessage->setText(state.message);
    mLevelIndicator->setValue(int(qBound(0.0, state.level, 100.0) * 10));
    mLevelIndicator->setVisible(!state.indeterminate);
    mProgressIndicator->setVisible(state.indeterminate);
    mPauseButton->setText(state.paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
    mPauseButton->setToolTip(state.paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
    mPauseButton->setHidden(state.pauseButtonHidden);
    mStopButton->setHidden(state.stopButtonHidden);
}
