#include "client/common/progress/ProgressViewController.h"
#include "client/common/progress/ProgressView.h"
#include "client/common/progress/ProgressViewDelegateProtocol.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

namespace {

class RecordingOwner : public ProgressViewDelegateProtocol
{
public:
    void toggleProgressView(ProgressViewController &, bool hidden) override { calls.append(hidden ? "hide" : "show"); }
    void pauseProcess(ProgressViewController &) override { calls.append("pause"); }
    void resumeProcess(ProgressViewController &) override { calls.append("resume"); }
    void stopProcess(ProgressViewController &) override { calls.append("stop"); }
    QStringList calls;
};

class CountingView : public ProgressView
{
public:
    void showProgressState(const ProgressPaneState &state) override
    {
        ++draws;
        shown = state;
    }
    int draws = 0;
    ProgressPaneState shown;
};

TEST(ProgressViewControllerTest, PauseTogglesAndANewOperationStartsRunning)
{
    RecordingOwner owner;
    ProgressViewController pane;
    pane.setDelegate(&owner);
    pane.pause();
    pane.pause();
    pane.pause();
    EXPECT_EQ(owner.calls, (QStringList{"pause", "resume", "pause"}));
    EXPECT_TRUE(pane.state().paused);

    pane.setHiddenPauseAndStopButton(false);
    pane.setSpeedtext("1 Mb/s");
    pane.setPercentage("42.5");
    pane.onOperationStart();
    EXPECT_FALSE(pane.state().paused);
    EXPECT_TRUE(pane.state().pauseButtonHidden);
    EXPECT_TRUE(pane.state().stopButtonHidden);
    EXPECT_EQ(pane.state().speed, "");
    EXPECT_EQ(pane.state().percentageText, "");
    EXPECT_EQ(pane.state().status, "Preparing file list...");

    pane.stop();
    pane.toggle();
    EXPECT_EQ(owner.calls.mid(3), (QStringList{"stop", "hide"}));
}

TEST(ProgressViewControllerTest, ManyUpdatesAreDrawnOncePerInterval)
{
    ProgressViewController pane(ProgressViewController::Timings{std::chrono::milliseconds(30)});
    CountingView view;
    pane.setView(&view);
    const int drawsBefore = view.draws;
    for (int i = 0; i < 1000; ++i) {
        pane.setPercentage(QString::number(i / 10.0));
        pane.setFilePath(QString("/file/%1").arg(i));
    }
    EXPECT_EQ(view.draws, drawsBefore);
    QDeadlineTimer deadline(2000);
    while (view.draws == drawsBefore && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(view.draws, drawsBefore + 1);
    EXPECT_EQ(view.shown.filePath, "/file/999");
    EXPECT_EQ(view.shown.percentageText, "99.9 %");
    EXPECT_DOUBLE_EQ(view.shown.level, 99.9);
}

}  // namespace
