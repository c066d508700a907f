#include "common/logging/OnlineLogController.h"

#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <unistd.h>

// The session notice board: one per program, values kept as copies, and the
// end of a session upload removing its temporary folder without a shell.

namespace {

using OnlineLogControllerTest = SandboxFixture;

TEST_F(OnlineLogControllerTest, OneBoardForTheProgramHoldingCopiesOfWhatItIsGiven)
{
    OnlineLogController &board = OnlineLogController::SharedOnlineLogController();
    EXPECT_EQ(&board, &OnlineLogController::SharedOnlineLogController());

    QString status = "Success";
    board.setOperationStatus(status);
    status.append(" and more");
    QString start = "12/10/2026 08:00:00 PM";
    board.setOperationStartTime(start);
    start[0] = u'0';
    EXPECT_EQ(board.operationStatus(), "Success");
    EXPECT_EQ(board.operationStartTime(), "12/10/2026 08:00:00 PM");

    board.SetSessionPath(OnlineLogController::userSessionUploadPath());
    board.SetOperationSessionFile(QString());
    EXPECT_TRUE(board.SessionPath().endsWith("/SessionUpload/Int")) << board.SessionPath().toStdString();
    EXPECT_TRUE(board.OperationSessionFile().isNull());
}

TEST_F(OnlineLogControllerTest, UploadDoneRemovesTheTemporaryFolderButNothingALinkPointsTo)
{
    OnlineLogController &board = OnlineLogController::SharedOnlineLogController();
    const QString temporary = root() + "/Int/TEMP \"$(touch pwned)`touch pwned`\\/";
    writeText(temporary + "log/session.xml", "<records/>");
    writeText(root() + "/elsewhere/keep.txt", "keep");
    ASSERT_EQ(::symlink(QFile::encodeName(root() + "/elsewhere").constData(),
                        QFile::encodeName(temporary + "outside").constData()),
              0);
    board.SetTempSessionFilelocation(temporary);

    board.OperationState(0);
    EXPECT_EQ(board.state(), 0);
    EXPECT_TRUE(QFile::exists(temporary + "log/session.xml")) << "a failed upload keeps its files";

    board.OperationState(1);
    EXPECT_EQ(board.state(), 1);
    EXPECT_FALSE(QFile::exists(temporary));
    EXPECT_TRUE(QFile::exists(root() + "/elsewhere/keep.txt"));
    EXPECT_FALSE(QFile::exists(root() + "/Int/pwned"));
    EXPECT_FALSE(QFile::exists("pwned"));

    board.OperationState(1);  // already gone: nothing to do
    EXPECT_TRUE(QDir(root() + "/Int").exists());
}

}  // namespace
