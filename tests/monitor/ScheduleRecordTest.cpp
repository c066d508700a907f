// The schedule record, its display texts and the schedules archive file.

#include "monitor/schedules/ScheduleArchive.h"
#include "monitor/schedules/TarnixScheduleItem.h"

#include "support/SandboxFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <functional>

namespace {

QString goldenArchive()
{
    return qEnvironmentVariable("TX_SOURCE_DIR") + "/tests/fixtures/schedules/golden-schedules.archive";
}

QDateTime utc(int y, int mo, int d, int h, int mi, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), QTimeZone::utc());
}

TarnixScheduleItem recordWith(int frequency, const QVariantList &days, const QString &user = "ann")
{
    TarnixScheduleItem record;
    record.setFrequency(frequency);
    record.setSelectedDaysForSchedule(days);
    record.setUsername(user);
    return record;
}

// A record with every field away from its default.
TarnixScheduleItem fullRecord()
{
    TarnixScheduleItem r;
    r.setScheduleType(1);
    r.setScheduleTime(utc(2026, 2, 3, 4, 5, 6).addMSecs(900));
    r.setFrequency(5);
    r.setStatus(2);
    r.setDestination("Studio");
    r.setUsername("ann");
    r.setTarnixUserName("ann.t");
    r.setEmailids("a@b.c,d@e.f");
    r.setDisplayDesktopNotification(true);
    r.setShouldStartMissedScheduleBackup(true);
    r.setSendEmailNotification(true);
    r.setUserAtServer("ann@server");
    r.setServerName("10.0.0.1");
    r.setQuotaServerName("quota.example");
    r.setPassword("TXE1:pw");
    r.setProcessReferenceFile("/home/ann/set.plist");
    r.setSSL("YES");
    r.setScheduleTimeSettings(3);
    r.setSelectedDaysForSchedule({1, QStringLiteral("3")});
    r.setSendLogExtract(true);
    r.setNotifyOnFailure(true);
    r.setIsAutoSyncEnabled(true);
    return r;
}

class ScheduleRecordTest : public SandboxFixture
{
protected:
    QString archive() const { return root() + "/Schedules.archive"; }
};

TEST_F(ScheduleRecordTest, NewRecordArchivesEveryKeyWithItsDefault)
{
    const KeyedArchive::ArchivedObject object = TarnixScheduleItem().toArchivedObject();
    EXPECT_EQ(object.className, "TarnixScheduleItem");
    for (const QString &key : TarnixScheduleItem::archivedKeys())
        EXPECT_TRUE(object.fields.contains(key)) << key.toStdString();
    EXPECT_EQ(TarnixScheduleItem::archivedKeys().size(), 22);
    const QVariantMap expected{{"scheduleType", 0},
                               {"frequency", 2},
                               {"status", 0},
                               {"destination", "My Tarnix"},
                               {"username", "None"},
                               {"tarnixUserName", "None"},
                               {"emailids", ""},
                               {"displayDesktopNotification", false},
                               {"shouldStartMissedScheduleBackup", false},
                               {"sendEmailNotification", false},
                               {"userAtServer", ""},
                               {"serverName", ""},
                               {"quotaServerName", ""},
                               {"password", ""},
                               {"processReferenceFile", ""},
                               {"isUseSSL", false},
                               {"scheduleTimeSettings", 0},
                               {"sendLogExtract", false},
                               {"notifyOnFailure", false},
                               {"isAutoSyncEnabled", false}};
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        EXPECT_EQ(object.fields.value(it.key()), it.value()) << it.key().toStdString();
    EXPECT_TRUE(object.fields.value("selectedDaysForSchedule").toList().isEmpty());
    EXPECT_LE(qAbs(object.fields.value("scheduleTime").toDateTime().secsTo(QDateTime::currentDateTime())), 5);
}

TEST_F(ScheduleRecordTest, ArchiveRoundTripKeepsEveryFieldAndTruncatesTheTime)
{
    const TarnixScheduleItem written = fullRecord();
    ASSERT_TRUE(ScheduleArchive::write(archive(), {{written, TarnixScheduleItem()}, {}, {}}));
    const QFileDevice::Permissions others =
        QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    EXPECT_FALSE(QFile::permissions(archive()) & others) << "it holds passwords";

    const auto read = ScheduleArchive::read(archive());
    ASSERT_TRUE(read);
    ASSERT_EQ(read->records.size(), 2);
    const TarnixScheduleItem &back = read->records.first();
    EXPECT_EQ(back.scheduleTime(), utc(2026, 2, 3, 4, 5, 6)) << "whole seconds";
    TarnixScheduleItem expected = written;
    expected.setScheduleTime(back.scheduleTime());
    EXPECT_EQ(back.toArchivedObject(), expected.toArchivedObject());
    EXPECT_TRUE(back.isSameRecord(written));
}

TEST_F(ScheduleRecordTest, GoldenArchiveWrittenByHandReadsAndKeepsUnknownKeys)
{
    const auto read = ScheduleArchive::read(goldenArchive());
    ASSERT_TRUE(read);
    ASSERT_EQ(read->records.size(), 2);
    const TarnixScheduleItem &ann = read->records[0];
    EXPECT_EQ(ann.scheduleTime(), utc(2026, 1, 5, 9, 0, 0)) << "calendar date, fraction dropped";
    EXPECT_EQ(ann.frequency(), 5);
    EXPECT_EQ(ann.username(), "ann");
    EXPECT_EQ(ann.password(), "secret");
    EXPECT_TRUE(ann.isUseSSL());
    EXPECT_TRUE(ann.notifyOnFailure());
    EXPECT_EQ(ann.scheduledDays(), "Monday,Wednesday") << "days stored as texts";
    EXPECT_EQ(ann.daysArray(), (QList<bool>{false, true, false, true, false, false, false}));

    const TarnixScheduleItem &bob = read->records[1];
    EXPECT_EQ(bob.scheduleTime(), utc(2026, 1, 6, 22, 30, 0)) << "plain date";
    EXPECT_EQ(bob.statusString(), "Completed");
    EXPECT_TRUE(bob.destination().isNull()) << "a key missing from an older archive reads as nothing";
    EXPECT_FALSE(bob.displayDesktopNotification());
    EXPECT_TRUE(bob.selectedDaysForSchedule().isEmpty());

    // A rewrite keeps the key no reader knows, and root entries beside the schedules.
    ScheduleArchive::Contents withRoot = *read;
    withRoot.otherRootEntries.insert("Other", "kept");
    ASSERT_TRUE(ScheduleArchive::write(archive(), withRoot));
    EXPECT_EQ(ScheduleArchive::read(archive())->otherRootEntries.value("Other"), "kept");
    const auto again = ScheduleArchive::read(archive());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->records[0].toArchivedObject().fields.value("futureKey"), "MyTarnix");
    EXPECT_EQ(again->records[0].toArchivedObject(), ann.toArchivedObject());
}

TEST_F(ScheduleRecordTest, DamagedOrMissingArchiveIsRefusedWithAReason)
{
    writeText(archive(), "bplist00 this is not an archive");
    QString error;
    bool missing = true;
    EXPECT_FALSE(ScheduleArchive::read(archive(), &error, &missing));
    EXPECT_FALSE(missing);
    EXPECT_FALSE(error.isEmpty());

    EXPECT_FALSE(ScheduleArchive::read(root() + "/none.archive", &error, &missing));
    EXPECT_TRUE(missing);
}

TEST_F(ScheduleRecordTest, DisplayTexts)
{
    struct Case
    {
        int frequency;
        int status;
        int type;
        const char *frequencyText;
        const char *statusText;
        const char *typeText;
    };
    const Case cases[] = {
        {0, 0, 0, "Immediate", "", "Backup"},
        {1, 1, 1, "Hourly ", "In progress", "Restore"},
        {2, 2, 2, "Daily", "Canceled", nullptr},
        {3, 3, 0, "Weekdays", "Completed", "Backup"},
        {4, 7, 0, "Monthly", "InvalidStatus", "Backup"},
        {9, 0, 0, "None", "", "Backup"},
    };
    for (const Case &c : cases) {
        TarnixScheduleItem r;
        r.setFrequency(c.frequency);
        r.setStatus(c.status);
        r.setScheduleType(c.type);
        EXPECT_EQ(r.frequencyString(), c.frequencyText);
        EXPECT_EQ(r.statusString(), c.statusText);
        EXPECT_EQ(r.scheduleTypeString(), c.typeText ? QString(c.typeText) : QString());
    }
    TarnixScheduleItem r;
    r.setScheduleTime(QDateTime(QDate(2026, 1, 5), QTime(21, 4, 9)));
    EXPECT_EQ(r.scheduleTimeString(), "Mon Jan 05 2026 09:04:09 PM");
}

TEST_F(ScheduleRecordTest, ScheduledDaysInListOrderWithTheArchiveFallback)
{
    EXPECT_EQ(recordWith(5, {1, 3}).scheduledDays(), "Monday,Wednesday");
    EXPECT_EQ(recordWith(5, {3, 1}).scheduledDays(), "Wednesday,Monday");
    EXPECT_EQ(recordWith(5, {3, 7, 1}).scheduledDays(), "Wednesday,Monday") << "an index outside 0-6 is skipped";
    EXPECT_EQ(recordWith(2, {1}).scheduledDays(), "Daily");

    const QList<TarnixScheduleItem> archive{recordWith(5, {0, 6}), recordWith(2, {}, "bob"), recordWith(2, {})};
    EXPECT_EQ(recordWith(5, {}).scheduledDays(archive), "Sunday,Saturday,Monday,Tuesday,Wednesday,Thursday,Friday");
    EXPECT_EQ(recordWith(5, {}, "carl").scheduledDays(archive), "None");
    EXPECT_EQ(recordWith(5, {}).scheduledDays({}), "None");
}

TEST_F(ScheduleRecordTest, EqualityAllowsTheFirstUpToSixtySecondsLater)
{
    const QDateTime base = utc(2026, 1, 5, 9, 0, 0);
    struct Case
    {
        int laterBy;
        bool equal;
    };
    for (const Case c : {Case{0, true}, Case{45, true}, Case{60, true}, Case{61, false}, Case{-1, false}}) {
        TarnixScheduleItem first = fullRecord(), second = fullRecord();
        first.setScheduleTime(base.addSecs(c.laterBy));
        second.setScheduleTime(base);
        second.setFrequency(0);  // not compared
        EXPECT_EQ(first.isEqualToScheduleItem(second), c.equal) << c.laterBy;
    }
    TarnixScheduleItem other = fullRecord();
    other.setEmailids("x@y.z");
    EXPECT_FALSE(fullRecord().isEqualToScheduleItem(other));
}

TEST_F(ScheduleRecordTest, CopyLeavesDaysTimeSettingsAndIdentityBehind)
{
    TarnixScheduleItem original = fullRecord();
    original.setBackupNow(true);
    const TarnixScheduleItem copy = original.copy();
    EXPECT_TRUE(copy.selectedDaysForSchedule().isEmpty());
    EXPECT_EQ(copy.scheduleTimeSettings(), 0);
    EXPECT_FALSE(copy.isBackupNow());
    EXPECT_FALSE(copy.isSameRecord(original)) << "a copy is a job of its own";
    EXPECT_TRUE(copy.isEqualToScheduleItem(original));
    EXPECT_EQ(copy.password(), original.password());
    EXPECT_TRUE(copy.isUseSSL());

    TarnixScheduleItem ssl;
    ssl.setSSL("yes");
    EXPECT_FALSE(ssl.isUseSSL());
}

TEST_F(ScheduleRecordTest, FieldsAreCheckedBeforeARecordIsStored)
{
    EXPECT_FALSE(fullRecord().validationError());
    struct Case
    {
        const char *name;
        std::function<void(TarnixScheduleItem &)> change;
    };
    const Case cases[] = {
        {"type", [](TarnixScheduleItem &r) { r.setScheduleType(2); }},
        {"frequency", [](TarnixScheduleItem &r) { r.setFrequency(6); }},
        {"status", [](TarnixScheduleItem &r) { r.setStatus(-1); }},
        {"time", [](TarnixScheduleItem &r) { r.setScheduleTime({}); }},
        {"user", [](TarnixScheduleItem &r) { r.setUsername(" "); }},
        {"day",
         [](TarnixScheduleItem &r) {
             r.setSelectedDaysForSchedule({1, 7});
         }},
        {"day text", [](TarnixScheduleItem &r) { r.setSelectedDaysForSchedule({QStringLiteral("Monday")}); }},
        {"address", [](TarnixScheduleItem &r) { r.setEmailids("a@b.c,not-an-address"); }},
    };
    for (const Case &c : cases) {
        TarnixScheduleItem record = fullRecord();
        c.change(record);
        EXPECT_TRUE(record.validationError()) << c.name;
    }
}

}  // namespace
