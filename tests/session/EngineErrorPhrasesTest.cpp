#include "session/errors/EngineErrorPhrases.h"

#include <gtest/gtest.h>

// Reading the engine's error text: recognised lines, critical codes, the
// end-of-session file errors and the retry schedule.

using namespace EngineErrorPhrases;

TEST(EngineErrorPhrasesTest, ParseErrorRecognisesLinesAndSetsCodes)
{
    struct Case
    {
        QString text;
        bool recognised;
        int failedFiles;
        int code;
    };
    const Case cases[] = {
        {"IOERROR: [/a/f.txt], : No such file or directory", true, 1, NoErrorCode},
        {"IOERROR: [/a/f.txt], : Not a directory (txruvo error in file IO)", true, 1, NoErrorCode},
        {"rsync: Permission denied", true, 0, NoErrorCode},
        {"@ERROR: protocol version mismatch", true, 0, ProtocolMismatch},
        {"account is under maintenance", true, 0, UnderMaintenance},
        {"Connection refused", false, 0, NoErrorCode},
        {"something odd", false, 0, NoErrorCode},
    };
    for (const Case &c : cases) {
        const ParseOutcome outcome = ParseERROR(c.text, NoErrorCode);
        EXPECT_EQ(outcome.recognised, c.recognised) << c.text.toStdString();
        EXPECT_EQ(outcome.failedFiles, c.failedFiles) << c.text.toStdString();
        EXPECT_EQ(outcome.errorCode, c.code) << c.text.toStdString();
    }
    EXPECT_TRUE(ParseERROR("something odd", ProtocolMismatch).recognised) << "a standing code recognises everything";
}

TEST(EngineErrorPhrasesTest, CriticalTextsAndTheirCodes)
{
    EXPECT_TRUE(containsAny("txruvo error: device is not connected (/v)", criticalWords()));
    EXPECT_EQ(criticalErrorCode("@ERROR: account has been expired"), AccountCancelled);
    EXPECT_EQ(criticalErrorCode("@ERROR: password mismatch (file unsafe)"), PasswordMismatch);
    EXPECT_EQ(criticalErrorCode("txruvo error: invalid path (x)"), NoErrorCode);
    EXPECT_TRUE(containsAny("x some files could not be transferred due to quota over limit", quotaWords()));
}

TEST(EngineErrorPhrasesTest, IoErrorLinesBecomeOneErrorPerFile)
{
    const SessionErrors errors = parseError("IOERROR: [/Users/a/f.txt], : Permission denied\n"
                                            "IOERROR: [/b], : first\nIOERROR: [/b], : second\n"
                                            "WARNING: x failed verification -- update retained (will try again).\n");
    EXPECT_EQ(errors.fileErrors.value("/Users/a/f.txt"), "Reason: Permission denied");
    EXPECT_EQ(errors.fileErrors.value("/b"), "Reason: second") << "a later line for a path replaces the earlier";
    EXPECT_EQ(errors.failedFiles, 1);
    EXPECT_EQ(errors.verificationFailures, 1);
    EXPECT_EQ(errors.errorCode, VerificationFailed);
}

TEST(EngineErrorPhrasesTest, PathInBackAndLogDetails)
{
    EXPECT_EQ(PathInBack("a [x] b"), "x");
    EXPECT_EQ(PathInBack("[]"), "");
    EXPECT_FALSE(PathInBack("a [x b"));
    EXPECT_FALSE(PathInBack("a ] x ["));
    EXPECT_FALSE(shouldDisplayErrorInLogDetails("reason: not a file"));
    EXPECT_TRUE(shouldDisplayErrorInLogDetails("Connection refused"));
    EXPECT_EQ(focusOf("A\ntxruvo error: some files could not be transferred (code 23)"), "A\n");
}

TEST(EngineErrorPhrasesTest, NineLongRetriesThenShortOnesOnlyWhileTheOtherRetries)
{
    for (int count = 0; count < 9; ++count)
        EXPECT_EQ(decideRetry(count, 0), Retry::AfterLongDelay) << count;
    EXPECT_EQ(decideRetry(9, 0), Retry::EndSession);
    EXPECT_EQ(decideRetry(9, 3), Retry::AfterShortDelay);
    EXPECT_EQ(decideRetry(10, 9), Retry::AfterShortDelay);
    EXPECT_EQ(decideRetry(10, 10), Retry::EndSession);
    EXPECT_EQ(decideRetry(11, 3), Retry::NotDecided);
}
