#include "index/manager/IndexPathRule.h"

#include <gtest/gtest.h>

TEST(IndexPathRuleTest, PrefixesTheComputerFolderInBackupModeOnce)
{
    struct Case
    {
        QString path;
        bool forBackup;
        QString computerFolder;
        bool backupMode;
        QString expected;
    };
    const Case cases[] = {
        {"/Users/ann/a.txt", true, "/Office", true, "/Office/Users/ann/a.txt"},
        {"Office/Users/ann/a.txt", true, "/Office", true, "/Office/Users/ann/a.txt"},
        {"/Office/Users/ann/a.txt", true, "/Office", true, "/Office/Users/ann/a.txt"},
        {"/Office", true, "/Office", true, "/Office"},
        // Whole components: another folder that merely begins alike gets the prefix.
        {"/Office2/a.txt", true, "/Office", true, "/Office/Office2/a.txt"},
        {"Office2/a.txt", true, "/Office", true, "/OfficeOffice2/a.txt"},
        {"/Users/ann/a.txt", false, "/Office", true, "/Users/ann/a.txt"},
        {"/Users/ann/a.txt", true, QString(), true, "/Users/ann/a.txt"},
        {"/Users/ann/a.txt", true, "/", true, "/Users/ann/a.txt"},
        {"/Docs/a.txt", true, "/Office", false, "/Docs/a.txt"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(IndexPathRule::indexPath(c.path, c.forBackup, c.computerFolder, c.backupMode), c.expected);
    }
}

TEST(IndexPathRuleTest, TheLocalPathOfAnIndexPathDropsOnlyTheComputerFolder)
{
    EXPECT_EQ(IndexPathRule::localPath("/Office/Users/ann", "/Office"), "/Users/ann");
    EXPECT_EQ(IndexPathRule::localPath("/Users/ann", QString()), "/Users/ann");
    EXPECT_EQ(IndexPathRule::localPath("/Users/ann", "/Office"), "/Users/ann");
    EXPECT_EQ(IndexPathRule::localPath("/Office2/ann", "/Office"), "/Office2/ann");
}
