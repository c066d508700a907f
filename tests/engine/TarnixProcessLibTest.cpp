#include "engine/command/EngineArgumentsBuilder.h"
#include "EngineTestSupport.h"
#include "support/SandboxFixture.h"
#include "engine/command/TarnixProcessLib.h"
#include "engine/command/TarnixProcessLibController.h"

#include <QDir>
#include <QElapsedTimer>

namespace {

// Records the callbacks of a run in order, and when the run finished.
class RecordingController : public TarnixProcessLibController
{
public:
    void updateProgress(const QString &lines, TarnixProcessLib *) override { events << "out:" + lines; }
    void getError(const QString &text, TarnixProcessLib *) override { events << "err:" + text; }
    void processFinishedOfEngine(TarnixProcessLib *) override
    {
        events << "finished";
        finishedAtMs = clock.elapsed();
    }
    int finishedCount() const { return events.count("finished"); }

    QStringList events;
    QElapsedTimer clock;
    qint64 finishedAtMs = -1;
};

constexpr TarnixProcessLibTimings kShortTimings{std::chrono::milliseconds(40), std::chrono::milliseconds(150),
                                                std::chrono::milliseconds(100)};

}  // namespace

class TarnixProcessLibTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        QDir().mkpath(applicationFolder());
        outputFile = applicationFolder() + "/out.txt";
        errorFile = applicationFolder() + "/err.txt";
        goFile = root() + "/go";
        controller.clock.start();
        engine.setOutDataText(outputFile);
        engine.setErrorDataText(errorFile);
    }

    // An engine that runs until the test creates the go file.
    EngineArguments waitingEngine() const
    {
        return EngineArgumentsBuilder()
            .add("/bin/sh")
            .add("-c")
            .add("while [ ! -e \"$0\" ]; do sleep 0.01; done")
            .add(goFile)
            .build();
    }

    bool waitForEvent(const QString &event) { return waitUntil([&] { return controller.events.contains(event); }); }

    QString outputFile, errorFile, goFile;
    RecordingController controller;
    TarnixProcessLib engine{&controller, nullptr, kShortTimings};
};

TEST_F(TarnixProcessLibTest, LinesAreCarriedAcrossTicksAndTheLastOneIsNotLost)
{
    engine.setArguments(waitingEngine());
    engine.startProcess();
    appendTo(outputFile, "[a]\n[b");
    ASSERT_TRUE(waitForEvent("out:[a]\n"));
    appendTo(errorFile, "E1\xC3");  // error text cut inside a character
    appendTo(outputFile, "]\n");
    ASSERT_TRUE(waitForEvent("out:[b]\n"));
    spinFor(int(kShortTimings.poll.count()) * 3);
    appendTo(errorFile, "\xA9");
    ASSERT_TRUE(waitForEvent(QString::fromUtf8("err:\xC3\xA9")));
    appendTo(outputFile, "[c");  // the engine's last line, without its line break

    const qint64 exitAtMs = controller.clock.elapsed();
    appendTo(goFile, "");
    ASSERT_TRUE(waitForEvent("finished"));
    spinFor(int(kShortTimings.finishNotice.count()) * 3);

    EXPECT_EQ(controller.events, (QStringList{"out:[a]\n", "err:E1", "out:[b]\n", QString::fromUtf8("err:\xC3\xA9"),
                                              "out:[c\n", "finished"}));
    EXPECT_GE(controller.finishedAtMs - exitAtMs, kShortTimings.finishGrace.count() + int(kShortTimings.finishNotice.count()));
    EXPECT_FALSE(QFile::exists(outputFile));
    EXPECT_FALSE(QFile::exists(errorFile));
    EXPECT_FALSE(engine.isRunning());
    EXPECT_EQ(engine.terminationStatus(), 0);
}

TEST_F(TarnixProcessLibTest, ASecondStartDuringARunIsIgnored)
{
    engine.setArguments(waitingEngine());
    engine.startProcess();
    engine.startProcess();
    appendTo(outputFile, "[x]\n");
    ASSERT_TRUE(waitForEvent("out:[x]\n"));
    appendTo(goFile, "");
    ASSERT_TRUE(waitForEvent("finished"));
    spinFor(int(kShortTimings.finishNotice.count()) * 3);
    EXPECT_EQ(controller.events, (QStringList{"out:[x]\n", "finished"}));
}

TEST_F(TarnixProcessLibTest, AHangingEngineIsStoppedAndTheRunStillFinishes)
{
    engine.setArguments(EngineArgumentsBuilder().add("/bin/sleep").add("30").build());
    engine.startProcess();
    ASSERT_TRUE(waitUntil([&] { return engine.terminationStatus() == 0 && engine.isRunning(); }));
    appendTo(outputFile, "[partial]\n");
    ASSERT_TRUE(waitForEvent("out:[partial]\n"));
    engine.stopProcess();
    ASSERT_TRUE(waitForEvent("finished"));
    EXPECT_NE(engine.terminationStatus(), 0);
    engine.stopProcess();  // harmless once our engine is gone
    EXPECT_EQ(controller.finishedCount(), 1);
}

TEST_F(TarnixProcessLibTest, AnEngineThatCannotStartIsReportedAndFinishes)
{
    const struct {
        const char *name;
        EngineArguments arguments;
        const char *reason;
    } cases[] = {
        {"missing executable", EngineArgumentsBuilder().add(root() + "/no-such-engine").add("--o=x").build(), "no-such-engine"},
        {"missing value", EngineArgumentsBuilder().add("/bin/true").add("--o=", QString()).build(), "--o="},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        controller.events.clear();
        engine.setArguments(c.arguments);
        engine.startProcess();
        ASSERT_TRUE(waitForEvent("finished"));
        ASSERT_EQ(controller.events.size(), 2);
        EXPECT_TRUE(controller.events[0].startsWith("err:ERROR")) << controller.events[0].toStdString();
        EXPECT_TRUE(controller.events[0].contains(c.reason));
        EXPECT_FALSE(engine.isRunning());
    }
}
