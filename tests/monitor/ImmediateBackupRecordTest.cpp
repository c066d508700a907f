// The one-off record of the status menu's Backup now.

#include "monitor/app/ImmediateBackupRecord.h"

#include "support/SandboxFixture.h"

#include "common/texts/QLLocalizedString.h"
#include "platform/PathStandardizer.h"
#include "platform/PathTemplate.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class ImmediateBackupRecordTest : public SandboxFixture
{
protected:
    static void writePlist(const QString &path, const QVariant &value)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        ASSERT_TRUE(PropertyList::write(path, value));
    }
    static QString backupSet()
    {
        return QDir::cleanPath(PathTemplate::fillTemplate(QLLocalizedString("BackupsetPath"), {"ann"}));
    }
    void logIn()
    {
        writePlist(PathStandardizer::standardizePath(QLLocalizedString("LastUserLoginDetailsFilePath")),
                   QVariantMap{{"TarnixUsername", "ann"},
                               {"Username", "ann@server"},
                               {"serverName", "10.0.0.1"},
                               {"quotaServername", "quota.example"},
                               {"SSL", "YES"}});
    }
    const QDateTime now{QDate(2026, 12, 11), QTime(10, 0)};
};

TEST_F(ImmediateBackupRecordTest, NoLoginOrNoBackupSetGivesNoRecord)
{
    EXPECT_FALSE(ImmediateBackupRecord::backupNow({}, now)) << "nobody logged in";
    logIn();
    EXPECT_FALSE(ImmediateBackupRecord::backupNow({}, now)) << "no backup set";
    writePlist(backupSet(), QVariantList());
    EXPECT_FALSE(ImmediateBackupRecord::backupNow({}, now)) << "an empty backup set";
}

TEST_F(ImmediateBackupRecordTest, TheRecordOfTheLastUser)
{
    logIn();
    writePlist(backupSet(), QVariantList{"/home/ann/Documents"});
    TarnixScheduleItem other;
    other.setTarnixUserName("bob");
    other.setEmailids("bob@example.com");
    TarnixScheduleItem own;
    own.setTarnixUserName("ann");
    own.setSendEmailNotification(true);
    own.setEmailids("ann@example.com");

    const auto record = ImmediateBackupRecord::backupNow({other, own}, now);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->frequency(), 0);
    EXPECT_EQ(record->scheduleTime(), now.addSecs(45));
    EXPECT_EQ(record->status(), 0);
    EXPECT_EQ(record->tarnixUserName(), "ann");
    EXPECT_EQ(record->username(), "ann@server");
    EXPECT_EQ(record->quotaServername(), "quota.example");
    EXPECT_EQ(record->processReferenceFile(), backupSet());
    EXPECT_TRUE(record->displayDesktopNotification());
    EXPECT_EQ(record->emailids(), "ann@example.com") << "the user's own first record lends its e-mail settings";
    EXPECT_TRUE(record->sendEmailNotification());
    EXPECT_FALSE(record->validationError()) << record->validationError().value_or(QString()).toStdString();
}

TEST_F(ImmediateBackupRecordTest, ComputerFolderOfSeveralComputers)
{
    logIn();
    writePlist(backupSet(), QVariantList{"/home/ann/Documents"});
    const QString state = PathStandardizer::standardizePath(QLLocalizedString("MultiplePCStateFilePath"));
    const QString unchanged = TarnixScheduleItem().destination();
    const QList<QPair<QVariantMap, QString>> cases = {
        {{{"EnableMultipleMacBackupKey", "1"}, {"MultipleMacFolderName", "Office"}}, "Office"},
        {{{"EnableMultipleMacBackupKey", "1"}, {"MultipleMacFolderName", ""}}, "MyTarnix"},
        {{{"EnableMultipleMacBackupKey", "2"}, {"MultipleMacFolderName", "Office"}}, "MyTarnix"},
        {{{"EnableMultipleMacBackupKey", "0"}, {"MultipleMacFolderName", "Office"}}, unchanged},
    };
    for (const auto &[entry, destination] : cases) {
        writePlist(state, QVariantMap{{"ann", entry}});
        const auto record = ImmediateBackupRecord::backupNow({}, now);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->destination(), destination)
            << entry.value("EnableMultipleMacBackupKey").toString().toStdString();
    }
}

}  // namespace
