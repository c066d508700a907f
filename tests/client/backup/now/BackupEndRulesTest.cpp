#include "client/backup/now/BackupEndRules.h"

#include <gtest/gtest.h>

using BackupEndRules::End;

TEST(BackupEndRulesTest, TheEndMessageFollowsHowTheSessionEnded)
{
    struct Case
    {
        End end;
        long failed;
        QString error;
        QString expected;
    };
    const QString hint = "Click the 'View Log' button for details.";
    const std::vector<Case> cases = {
        {End::Success, 0, "", "Backup operation has completed. " + hint},
        {End::Success, 3, "", "Backup operation has completed, but 3 file(s) could not be backed up. " + hint},
        {End::Failure, 0, "Permission denied", "Backup operation has failed: Permission denied\n\n" + hint},
        {End::Failure, 2, " ", "Backup operation has failed: 2 file(s) could not be backed up. " + hint},
        {End::Failure, 0, "x", "Backup operation has failed. " + hint},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        EXPECT_EQ(BackupEndRules::endMessage(c.end, c.failed, c.error), c.expected);
    }
}
