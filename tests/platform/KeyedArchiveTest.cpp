#include "platform/KeyedArchive.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"

#include <QDateTime>
#include <QFile>

#include <sys/stat.h>

namespace {

using KeyedArchive::ArchivedObject;

ArchivedObject scheduleRecord(const QString &user)
{
    return {QStringLiteral("TarnixScheduleItem"),
            {{"scheduleType", 1},
             {"frequency", 5},
             {"isUseSSL", true},
             {"username", user},
             {"scheduleTime", QDateTime(QDate(2014, 5, 6), QTime(10, 0, 5), Qt::UTC)},
             {"selectedDaysForSchedule", QVariantList{0, 6}}}};
}

QVariant uid(quint64 value) { return PropertyList::uidReference(value); }

quint64 uidValue(const QVariant &reference) { return reference.toMap().value("CF$UID").toULongLong(); }

class KeyedArchiveTest : public SandboxFixture
{};

TEST_F(KeyedArchiveTest, RoundTripsEveryValueKindIncludingOwnClasses)
{
    const QVariantList array{QStringLiteral("Grüße"),
                             42,
                             2.5,
                             false,
                             QByteArray("\x00\xff", 2),
                             QVariant(),
                             QVariantMap{{"nested", QVariantList{QStringLiteral("a"), QVariantMap{}}}},
                             QVariant::fromValue(scheduleRecord("ann")),
                             QVariant::fromValue(scheduleRecord("bob"))};
    QString error;
    const auto back = KeyedArchive::decode(KeyedArchive::encode({{"Schedules", array}}), &error);
    ASSERT_TRUE(back.has_value()) << error.toStdString();
    ASSERT_TRUE(back.has_value());
    const QVariantList list = back->value("Schedules").toList();
    ASSERT_EQ(list.size(), array.size());
    EXPECT_EQ(list.at(0).toString(), "Grüße");
    EXPECT_EQ(list.at(1).toLongLong(), 42);
    EXPECT_DOUBLE_EQ(list.at(2).toDouble(), 2.5);
    EXPECT_EQ(list.at(3).typeId(), QMetaType::Bool);
    EXPECT_EQ(list.at(4).toByteArray(), QByteArray("\x00\xff", 2));
    EXPECT_FALSE(list.at(5).isValid());
    EXPECT_EQ(list.at(6).toMap().value("nested").toList().size(), 2);
    const auto record = list.at(8).value<ArchivedObject>();
    EXPECT_EQ(record.className, "TarnixScheduleItem");
    EXPECT_EQ(record.fields.value("username").toString(), "bob");
    EXPECT_EQ(record.fields.value("frequency").toLongLong(), 5);
    EXPECT_TRUE(record.fields.value("isUseSSL").toBool());
    EXPECT_EQ(record.fields.value("scheduleTime").toDateTime(), QDateTime(QDate(2014, 5, 6), QTime(10, 0, 5), Qt::UTC));
    EXPECT_EQ(record.fields.value("selectedDaysForSchedule").toList(), (QVariantList{qint64(0), qint64(6)}));
}

// Other programs read the file, so the layout itself is checked, not only our own reading of it.
TEST_F(KeyedArchiveTest, WritesTheStandardLayoutInBinaryForm)
{
    const QByteArray bytes =
        KeyedArchive::encode({{"Schedules", QVariantList{QVariant::fromValue(scheduleRecord("ann")),
                                                         QVariant::fromValue(scheduleRecord("bob"))}}});
    ASSERT_TRUE(bytes.startsWith("bplist00"));
    const QVariantMap archive = PropertyList::fromData(bytes)->toMap();
    EXPECT_EQ(archive.value("$archiver").toString(), "NSKeyedArchiver");
    EXPECT_EQ(archive.value("$version").toLongLong(), 100000);
    const QVariantList objects = archive.value("$objects").toList();
    EXPECT_EQ(objects.value(0).toString(), "$null");

    const auto object = [&objects](const QVariant &reference) {
        return objects.value(qsizetype(uidValue(reference))).toMap();
    };
    const QVariant rootReference = archive.value("$top").toMap().value("Schedules");
    ASSERT_TRUE(PropertyList::isUidReference(rootReference));
    const QVariantMap root = object(rootReference);
    EXPECT_EQ(object(root.value("$class")).value("$classname").toString(), "NSMutableArray");
    EXPECT_EQ(object(root.value("$class")).value("$classes").toStringList(),
              (QStringList{"NSMutableArray", "NSArray", "NSObject"}));

    const QVariantList members = root.value("NS.objects").toList();
    ASSERT_EQ(members.size(), 2);
    const QVariantMap first = object(members.at(0)), second = object(members.at(1));
    EXPECT_EQ(first.value("$class"), second.value("$class"));  // one description per class
    EXPECT_EQ(object(first.value("$class")).value("$classname").toString(), "TarnixScheduleItem");
    EXPECT_EQ(first.value("frequency").toLongLong(), 5);  // integers and bools inline
    EXPECT_EQ(first.value("isUseSSL").typeId(), QMetaType::Bool);
    EXPECT_TRUE(PropertyList::isUidReference(first.value("username")));  // objects by reference
    EXPECT_EQ(objects.value(qsizetype(uidValue(first.value("username")))).toString(), "ann");
    const QVariantMap date = object(first.value("scheduleTime"));
    EXPECT_EQ(object(date.value("$class")).value("$classname").toString(), "NSDate");
    EXPECT_DOUBLE_EQ(date.value("NS.time").toDouble(),
                     QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC)
                         .secsTo(QDateTime(QDate(2014, 5, 6), QTime(10, 0, 5), Qt::UTC)));
}

TEST_F(KeyedArchiveTest, ReadsTheImmutableAndStringClassesOfOtherWriters)
{
    const QVariantMap archive{
        {"$archiver", "NSKeyedArchiver"},
        {"$version", 100000},
        {"$top", QVariantMap{{"root", uid(1)}}},
        {"$objects",
         QVariantList{"$null", QVariantMap{{"NS.objects", QVariantList{uid(2), uid(3), uid(0)}}, {"$class", uid(4)}},
                      "plain", QVariantMap{{"NS.string", "boxed"}, {"$class", uid(5)}},
                      QVariantMap{{"$classname", "NSArray"}, {"$classes", QStringList{"NSArray", "NSObject"}}},
                      QVariantMap{{"$classname", "NSMutableString"},
                                  {"$classes", QStringList{"NSMutableString", "NSString", "NSObject"}}}}}};
    const auto back = KeyedArchive::decode(PropertyList::toData(archive, PropertyList::Format::Binary));
    ASSERT_TRUE(back.has_value());
    const QVariantList list = back->value("root").toList();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.at(0).toString(), "plain");
    EXPECT_EQ(list.at(1).toString(), "boxed");
    EXPECT_FALSE(list.at(2).isValid());
}

TEST_F(KeyedArchiveTest, CalendarDatesOfOtherWritersReadAsDates)
{
    // A calendar date also carries its time zone and format; the moment is what counts.
    const QVariantMap archive{
        {"$archiver", "NSKeyedArchiver"},
        {"$version", 100000},
        {"$top", QVariantMap{{"scheduleTime", uid(1)}}},
        {"$objects",
         QVariantList{
             "$null",
             QVariantMap{{"NS.time", 421063205.0}, {"NS.timezone", uid(2)}, {"NS.format", uid(4)}, {"$class", uid(5)}},
             QVariantMap{{"NS.name", uid(3)}, {"$class", uid(6)}}, "Europe/Berlin", "%Y-%m-%d %H:%M:%S %z",
             QVariantMap{{"$classname", "NSCalendarDate"},
                         {"$classes", QStringList{"NSCalendarDate", "NSDate", "NSObject"}}},
             QVariantMap{{"$classname", "NSTimeZone"}, {"$classes", QStringList{"NSTimeZone", "NSObject"}}}}}};
    QString error;
    const auto back = KeyedArchive::decode(PropertyList::toData(archive, PropertyList::Format::Binary), &error);
    ASSERT_TRUE(back.has_value()) << error.toStdString();
    const QVariant time = back->value("scheduleTime");
    EXPECT_EQ(time.typeId(), QMetaType::QDateTime);
    EXPECT_EQ(time.toDateTime(), QDateTime(QDate(2014, 5, 6), QTime(10, 0, 5), Qt::UTC));
}

TEST_F(KeyedArchiveTest, BrokenArchivesAreRefusedWithAReason)
{
    const QVariant arrayClass = QVariantMap{{"$classname", "NSArray"}, {"$classes", QStringList{"NSArray"}}};
    const auto archiveWith = [](const QVariant &top, const QVariantList &objects) {
        return PropertyList::toData(QVariantMap{{"$archiver", "NSKeyedArchiver"}, {"$top", top}, {"$objects", objects}},
                                    PropertyList::Format::Binary);
    };
    const struct
    {
        const char *name;
        QByteArray bytes;
        const char *reason;
    } cases[] = {
        {"not a plist", "hello", ""},
        {"a plist but no archive", PropertyList::toData(QVariantMap{{"a", 1}}), ""},
        {"reference outside the table", archiveWith(QVariantMap{{"root", uid(9)}}, {"$null"}), "outside"},
        {"array holding itself",
         archiveWith(QVariantMap{{"root", uid(1)}},
                     {"$null", QVariantMap{{"NS.objects", QVariantList{uid(1)}}, {"$class", uid(2)}}, arrayClass}),
         "itself"},
        {"instance without class", archiveWith(QVariantMap{{"root", uid(1)}}, {"$null", QVariantMap{{"x", 1}}}),
         "class"},
        {"a dictionary key that is a number",
         archiveWith(
             QVariantMap{{"root", uid(1)}},
             {"$null",
              QVariantMap{{"NS.keys", QVariantList{uid(2)}}, {"NS.objects", QVariantList{uid(3)}}, {"$class", uid(4)}},
              7, "value", QVariantMap{{"$classname", "NSDictionary"}, {"$classes", QStringList{"NSDictionary"}}}}),
         "key that is not text"},
        {"a class name that is a number",
         archiveWith(QVariantMap{{"root", uid(1)}},
                     {"$null", QVariantMap{{"NS.string", "x"}, {"$class", uid(2)}}, QVariantMap{{"$classname", 5}}}),
         "class name is not text"},
        {"a class name that is a list",
         archiveWith(QVariantMap{{"root", uid(1)}}, {"$null", QVariantMap{{"NS.string", "x"}, {"$class", uid(2)}},
                                                     QVariantMap{{"$classname", QVariantList{"NSString"}}}}),
         "class name is not text"},
        {"a string object without its text",
         archiveWith(QVariantMap{{"root", uid(1)}}, {"$null", QVariantMap{{"NS.string", 5}, {"$class", uid(2)}},
                                                     QVariantMap{{"$classname", "NSString"}}}),
         "NS.string"},
    };
    for (const auto &test : cases) {
        QString error;
        EXPECT_FALSE(KeyedArchive::decode(test.bytes, &error).has_value()) << test.name;
        EXPECT_FALSE(error.isEmpty()) << test.name;
        EXPECT_TRUE(error.contains(test.reason)) << test.name << ": " << error.toStdString();
    }
}

TEST_F(KeyedArchiveTest, FileIsWrittenWithTheGivenModeReplacingTheOldOne)
{
    const QString path = root() + "/Schedules.archive";
    writeText(path, "old contents");
    QFile::setPermissions(path, QFileDevice::Permissions(0x7777));
    ASSERT_TRUE(KeyedArchive::write(path, {{"k", QVariantList{1}}}, PropertyList::kOwnerReadWrite));
    struct stat info
    {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(KeyedArchive::read(path)->value("k").toList().size(), 1);

    QString error;
    EXPECT_FALSE(KeyedArchive::read(root() + "/missing.archive", &error).has_value());
    EXPECT_TRUE(error.contains("missing.archive"));
}

}  // namespace
