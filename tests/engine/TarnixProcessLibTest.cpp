#include "engine/command/TarnixProcessLib.h"
#include "EngineTestSupport.h"
#include "engine/command/EngineArgumentsBuilder.h"
#include "engine/command/TarnixProcessLibController.h"
#include "support/SandboxFixture.h"

#include "engine/command/EngineSecretFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

namespace {

// Records the callbacks of a run in order, and when the run finished.
class RecordingController : public TarnixProcessLibController
{
public:
    void updateProgress(const QString &lines, TarnixProcessLib *) override { events << "out:" + lines; }
    void getError(const QString &text, TarnixProcessLib *) override { events << "err:" + text; }
    void processFinishedOfEngine(TarnixProcessLib *engine) override
    {
        events << "finished";
        finishedAtMs = clock.elapsed();
        if (atFinish)
            atFinish(engine);
    }
    int finishedCount() const { return events.count("finished"); }

    QStringList events;
    QElapsedTimer clock;
    qint64 finishedAtMs = -1;
    std::function<void(TarnixProcessLib *)> atFinish;
};

// Counts what a run delivers without keeping it.
class CountingController : public TarnixProcessLibController
{
public:
    void updateProgress(const QString &lines, TarnixProcessLib *) override
    {
        characters += lines.size();
        lineCount += lines.count(u'\n');
        largestDelivery = std::max(largestDelivery, lines.size());
    }
    void getError(const QString &, TarnixProcessLib *) override {}
    void processFinishedOfEngine(TarnixProcessLib *) override { ++finishedCount; }

    qsizetype characters = 0;
    qsizetype lineCount = 0;
    qsizetype largestDelivery = 0;
    int finishedCount = 0;
};

constexpr TarnixProcessLibTimings kShortTimings{std::chrono::milliseconds(40), std::chrono::milliseconds(150),
                                                std::chrono::milliseconds(100)};

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

    bool waitForEvent(const QString &event)
    {
        return waitUntil([&] { return controller.events.contains(event); });
    }

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
    EXPECT_GE(controller.finishedAtMs - exitAtMs,
              kShortTimings.finishGrace.count() + int(kShortTimings.finishNotice.count()));
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
    const struct
    {
        const char *name;
        EngineArguments arguments;
        const char *reason;
    } cases[] = {
        {"missing executable", EngineArgumentsBuilder().add(root() + "/no-such-engine").add("--o=x").build(),
         "no-such-engine"},
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

// A run started while the previous one is still finishing (its engine has
// exited, its last read or its notice is still to come) waits for that notice:
// each notice belongs to its own run, and none arrives while a later run goes.
TEST_F(TarnixProcessLibTest, EveryFinishNoticeBelongsToItsOwnRun)
{
    const TarnixProcessLibTimings slowFinish{std::chrono::milliseconds(20), std::chrono::milliseconds(1000),
                                             std::chrono::milliseconds(1000)};
    const QString startedFile = root() + "/second-started";
    enum class StartDuring
    {
        Grace,
        NoticeDelay
    };
    for (const StartDuring when : {StartDuring::NoticeDelay, StartDuring::Grace}) {
        SCOPED_TRACE(when == StartDuring::Grace ? "start during the grace" : "start while the notice is pending");
        QFile::remove(goFile);
        QFile::remove(startedFile);
        controller.events.clear();
        struct Notice
        {
            int status;
            bool secondRunStarted;
        };
        QList<Notice> notices;
        controller.atFinish = [&](TarnixProcessLib *finished) {
            notices << Notice{finished->terminationStatus(), QFile::exists(startedFile)};
        };
        TarnixProcessLib wrapper(&controller, nullptr, slowFinish);
        wrapper.setOutDataText(outputFile);
        wrapper.setErrorDataText(errorFile);

        wrapper.setArguments(EngineArgumentsBuilder()
                                 .add("/bin/sh")
                                 .add("-c")
                                 .add("printf '[one]\\n' >> \"$0\"; exit 5")
                                 .add(outputFile)
                                 .build());
        ASSERT_TRUE(wrapper.startProcess());
        if (when == StartDuring::Grace)
            ASSERT_TRUE(waitUntil([&] { return wrapper.terminationStatus() == 5; }));
        else
            ASSERT_TRUE(
                waitUntil([&] { return controller.events.contains("out:[one]\n") && !QFile::exists(outputFile); }));
        ASSERT_TRUE(notices.isEmpty()) << "the test missed its moment";

        wrapper.setArguments(
            EngineArgumentsBuilder()
                .add("/bin/sh")
                .add("-c")
                .add("printf '[two]\\n' >> \"$0\"; : > \"$1\"; while [ ! -e \"$2\" ]; do sleep 0.01; done; exit 7")
                .add(outputFile)
                .add(startedFile)
                .add(goFile)
                .build());
        EXPECT_TRUE(wrapper.startProcess());
        EXPECT_FALSE(wrapper.startProcess()) << "only one start waits; a further one is refused";
        EXPECT_TRUE(wrapper.isRunning());

        ASSERT_TRUE(waitUntil([&] { return notices.size() == 1; }));
        EXPECT_EQ(notices[0].status, 5);
        EXPECT_FALSE(notices[0].secondRunStarted) << "the first run's notice came while the second run went";
        ASSERT_TRUE(waitUntil([&] { return QFile::exists(startedFile); }));
        appendTo(goFile, "");
        ASSERT_TRUE(waitUntil([&] { return notices.size() == 2; }));
        EXPECT_EQ(notices[1].status, 7);
        spinFor(100);
        EXPECT_EQ(controller.events, (QStringList{"out:[one]\n", "finished", "out:[two]\n", "finished"}));
        EXPECT_FALSE(wrapper.isRunning());
        controller.atFinish = nullptr;
    }
}

TEST_F(TarnixProcessLibTest, StoppingEndsEverythingTheEngineStarted)
{
    const QString pidFile = root() + "/grandchild";
    engine.setArguments(
        EngineArgumentsBuilder().add("/bin/sh").add("-c").add(kEngineWithAGrandchild).add(pidFile).build());
    engine.startProcess();
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(pidFile); }));
    const qint64 grandchild = readText(pidFile).trimmed().toLongLong();
    ASSERT_GT(grandchild, 0);
    engine.stopProcess();
    ASSERT_TRUE(waitForEvent("finished"));
    EXPECT_TRUE(processEnds(grandchild));
}

// 100 MB of output that appears at once is handed over in bounded slices,
// and the main thread's event loop keeps turning between them: a 10 ms timer
// keeps firing. The bound on its gaps is generous; a whole read at once
// stalls the loop for far longer.
TEST_F(TarnixProcessLibTest, AFloodOfOutputIsReadInSlicesWhileTheEventLoopKeepsTurning)
{
    constexpr qsizetype kLineLength = 100;  // with its line break
    constexpr qsizetype kLines = 1024 * 1024;
    CountingController counting;
    TarnixProcessLib wrapper(&counting, nullptr, kShortTimings);
    wrapper.setOutDataText(outputFile);
    wrapper.setErrorDataText(errorFile);
    // The engine's whole output moves into place at once.
    wrapper.setArguments(EngineArgumentsBuilder()
                             .add("/bin/sh")
                             .add("-c")
                             .add(QString(R"(yes '%1' | head -c %2 > "$0.part"; mv "$0.part" "$0")")
                                      .arg(QString(kLineLength - 1, u'x'))
                                      .arg(kLineLength * kLines))
                             .add(outputFile)
                             .build());

    QElapsedTimer sinceTick;
    qint64 longestGapMs = 0;
    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGapMs = std::max(longestGapMs, sinceTick.restart());
        ++ticks;
    });
    wrapper.startProcess();
    sinceTick.start();
    ticker.start();
    ASSERT_TRUE(waitUntil([&] { return counting.finishedCount == 1; }, 120000));
    ticker.stop();

    EXPECT_EQ(counting.lineCount, kLines);
    EXPECT_EQ(counting.characters, kLineLength * kLines);
    EXPECT_LE(counting.largestDelivery, TarnixProcessLib::kReadSliceBytes + kLineLength)
        << "one slice and a carried line at most";
    EXPECT_GT(ticks, 10);
    EXPECT_LT(longestGapMs, 1000) << "the event loop stalled";
}

// The credential files of a run go as soon as its engine has ended, however
// it ended; a start that is refused keeps none either.
TEST_F(TarnixProcessLibTest, NoCredentialFileOutlivesItsEngine)
{
    const auto credentialFiles = [] { return QDir(EngineSecretFiles::folder()).entryList(QDir::Files); };
    const struct
    {
        const char *name;
        EngineArgumentsBuilder engine;
        bool stop;
    } cases[] = {
        {"ends by itself", EngineArgumentsBuilder().add("/bin/sh").add("-c").add("exit 3"), false},
        {"stopped", EngineArgumentsBuilder().add("/bin/sleep").add("30"), true},
        {"cannot start", EngineArgumentsBuilder().add(root() + "/no-such-engine"), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        controller.events.clear();
        EngineArguments arguments = EngineArgumentsBuilder(c.engine).passwordFile("pw").build();
        ASSERT_EQ(credentialFiles().size(), 1);
        engine.setArguments(std::move(arguments));
        engine.startProcess();
        if (c.stop) {
            ASSERT_TRUE(waitUntil([&] { return engine.isRunning() && engine.terminationStatus() == 0; }));
            engine.stopProcess();
        }
        // Checked the moment the engine has gone, before the run's last read.
        ASSERT_TRUE(waitUntil([&] { return engine.terminationStatus() != 0; }));
        EXPECT_TRUE(credentialFiles().isEmpty());
        ASSERT_TRUE(waitForEvent("finished"));
    }

    engine.setArguments(waitingEngine());
    engine.startProcess();
    engine.setArguments(EngineArgumentsBuilder().add("/bin/true").passwordFile("pw").build());
    EXPECT_FALSE(engine.startProcess());
    EXPECT_TRUE(credentialFiles().isEmpty()) << "a refused start keeps no credential file";
    appendTo(goFile, "");
    ASSERT_TRUE(waitForEvent("finished"));
}

}  // namespace
