#include "engine/controllers/ControllerTestSupport.h"

#include "engine/controllers/ControllerTexts.h"
#include "engine/controllers/RuvoMoveToOriginalController.h"
#include "engine/controllers/RuvoMoveToOriginalControllerDelegateProtocol.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

class MoveRecorder : public RuvoMoveToOriginalControllerDelegateProtocol
{
public:
    void MoveToOriginalFinishSuccessfully(RuvoMoveToOriginalController *, const QVariantMap &output) override
    {
        results = output;
        log.add("finish");
    }
    void MoveToOriginalDidFailWithError(const QString &text, RuvoMoveToOriginalController *) override
    {
        error = text;
        log.add("fail");
    }

    CallbackLog log;
    QVariantMap results;
    QString error;
};

TEST(MoveToOriginalOutputTest, EveryLineWithAnOperationAndAnItemIsNumberedInOrder)
{
    const struct
    {
        const char *name;
        QString output;
        QVariantMap expected;
    } cases[] = {
        {"elements",
         "<item op=\"moved\" fname=\"/d/Office/a.txt\"/>\n<item op=\"in_place\" fname=\"/d/Office/b &amp; c\"/>\n"
         "<summary tot_items_moved=\"1\"/>\n",
         {{"moved0", "/d/Office/a.txt"}, {"in_place1", "/d/Office/b & c"}}},
        {"bracketed", "[moved][/d/x]y]\n[in_place][/d/z]", {{"moved0", "/d/x]y"}, {"in_place1", "/d/z"}}},
        {"lines without both fields are not counted",
         "<item op=\"moved\"/>\n<item fname=\"/d/a\"/>\nConnecting\n\n[moved]\n<item op=\"moved\" fname=\"/d/b\"/>",
         {{"moved0", "/d/b"}}},
        {"nothing", "", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RuvoMoveToOriginalController::resultsFromOutput(c.output), c.expected);
    }
}

// Items stored by the stand-in engine, one of them left in its version slot
// by a replacement that was cut off on a drive without hard links.
class MoveToOriginalControllerTest : public StandInAccountFixture
{
protected:
    QString computerFolder() const { return volumes() + "/Drive/TarnixVidezud/Ann/Office"; }
    QString local(const QString &path) const { return root() + "/local/" + path; }
    QString stored(const QString &path) const { return computerFolder() + local(path); }
    QString slot(const QString &path, int version) const
    {
        return computerFolder() + "/Ann.ver" + local(path) + QStringLiteral(".qlvn%1").arg(version, 3, 10, QChar('0'));
    }

    void backUp(const QStringList &paths)
    {
        QStringList files;
        for (const QString &path : paths)
            files << local(path);
        backUpWithStandIn(root() + "/operation", computerFolder(), files);
    }

    // Runs the controller over the paths; waits for its one answer.
    void move(MoveRecorder &recorder, const QStringList &paths, const User &user = account())
    {
        RuvoMoveToOriginalController controller;
        controller.userInfo() = user;
        controller.setExecutorPath(engine());
        controller.setDelegate(&recorder);
        controller.setFilesArray(paths);
        controller.moveFilesToOriginalLocation();
        EXPECT_TRUE(recorder.log.waitFor(1));
        spinFor(50);
    }
};

TEST_F(MoveToOriginalControllerTest, AnItemLeftInItsVersionSlotGoesBackAndOneInPlaceIsReported)
{
    logVectors();
    writeText(local("a.txt"), "first");
    writeText(local("b.txt"), "b");
    backUp({"a.txt", "b.txt"});
    writeText(local("a.txt"), "second");
    backUp({"a.txt"});
    // Version 1 holds "first"; the current copy is moved into slot 2, as the replacement does
    // where the drive has no hard links, and the run ends before the new copy is named.
    ASSERT_TRUE(QFile::rename(stored("a.txt"), slot("a.txt", 2)));
    ASSERT_TRUE(QFile::copy(stored("a.txt") + "_.chk", slot("a.txt_.chk", 2)));

    MoveRecorder recorder;
    move(recorder, {stored("a.txt"), stored("b.txt"), stored("never.txt")});
    EXPECT_EQ(recorder.log.entries(), QStringList{"finish (main)"});
    EXPECT_EQ(recorder.results, QVariantMap({{"moved0", stored("a.txt")}, {"in_place1", stored("b.txt")}}));
    EXPECT_EQ(readText(stored("a.txt")), "second");
    EXPECT_EQ(readText(slot("a.txt", 1)), "first");
    EXPECT_FALSE(QFileInfo::exists(slot("a.txt", 2)));
    EXPECT_FALSE(QFileInfo::exists(slot("a.txt_.chk", 2)));
    EXPECT_EQ(readText(stored("b.txt")), "b");
    // The list and error files lay in a folder of this user's alone, gone with the run.
    const QString vector = loggedVectors().last();
    const QRegularExpressionMatch list = QRegularExpression("\"--files-from=([^\"]+)\"").match(vector);
    ASSERT_TRUE(list.hasMatch()) << vector.toStdString();
    EXPECT_TRUE(list.captured(1).endsWith("/MoveFiles.txt"));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(list.captured(1)).absolutePath()));
}

TEST_F(MoveToOriginalControllerTest, ARunWithoutAnAnswerFailsWithTheEnginesErrors)
{
    writeText(local("a.txt"), "a");
    backUp({"a.txt"});
    const struct
    {
        const char *name;
        QVariantMap scenario;
        QStringList paths;
        QString error;  // the failure text starts with it
    } cases[] = {
        {"wrong password", {{"password", "other"}}, {stored("a.txt")}, "@ERROR: password mismatch"},
        {"died before answering", {{"stopMode", "crash"}}, {stored("a.txt")}, ControllerTexts::kNoEngineAnswer},
        {"nothing could be moved", {}, {stored("gone.txt")}, "IOERROR: [" + stored("gone.txt") + "], : No such file"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        setScenario(c.scenario);
        MoveRecorder recorder;
        move(recorder, c.paths);
        EXPECT_EQ(recorder.log.entries(), QStringList{"fail (main)"});
        EXPECT_TRUE(recorder.error.startsWith(c.error)) << recorder.error.toStdString();
    }
}

}  // namespace
