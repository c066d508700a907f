#include "desktop/kit/AnimatedText.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {
void runEventsFor(std::chrono::milliseconds time)
{
    QEventLoop loop;
    QTimer::singleShot(time, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(AnimatedText, ClearsAfterItsTimeAndTheSameTextDoesNotRestartTheClock)
{
    AnimatedText text(AnimatedText::Timings{200ms});
    int changes = 0;
    QObject::connect(&text, &AnimatedText::textChanged, [&changes] { ++changes; });
    text.setAnimatedText("Saved");
    ASSERT_TRUE(text.isClearing());
    runEventsFor(120ms);
    text.setAnimatedText("Saved");  // would push the clearing to 320 ms if it restarted
    EXPECT_EQ(changes, 1);
    runEventsFor(120ms);
    EXPECT_EQ(text.text(), "") << "cleared 200 ms after the first setting";
    EXPECT_FALSE(text.isClearing());
}

TEST(AnimatedText, EmptyTextClearsAtOnceAndCancelsTheClock)
{
    AnimatedText text(AnimatedText::Timings{50ms});
    text.setAnimatedText("Saved");
    text.setAnimatedText("");
    EXPECT_EQ(text.text(), "");
    EXPECT_FALSE(text.isClearing());
    text.setAnimatedText("Other");
    EXPECT_TRUE(text.isClearing()) << "a new text starts a new clock";
}

}  // namespace
