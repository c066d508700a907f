#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"

#include <QDateTime>
#include <QFile>

#include <sys/stat.h>

class PropertyListTest : public SandboxFixture
{};

TEST_F(PropertyListTest, RoundTripsEveryValueKindInBothFormats)
{
    const QVariantMap value{
        {"text", QStringLiteral("Grüße 日本 😀")},
        {"number", qint64(1) << 40},
        {"real", 2.5},
        {"flag", true},
        {"data", QByteArray("\x00\x01\xff", 3)},
        {"date", QDateTime(QDate(2020, 2, 29), QTime(13, 14, 15), Qt::UTC)},
        {"list", QVariantList{QStringLiteral("a"), qint64(2)}},
        {"ref", PropertyList::uidReference(7)},
    };
    for (const auto format : {PropertyList::Format::Xml, PropertyList::Format::Binary}) {
        const QString path = root() + "/value.plist";
        ASSERT_TRUE(PropertyList::write(path, value, PropertyList::kDefaultMode, format));
        const auto back = PropertyList::read(path);
        ASSERT_TRUE(back.has_value());
        const QVariantMap map = back->toMap();
        EXPECT_EQ(map.value("text").toString(), value.value("text").toString());
        EXPECT_EQ(map.value("number").toLongLong(), qint64(1) << 40);
        EXPECT_DOUBLE_EQ(map.value("real").toDouble(), 2.5);
        EXPECT_TRUE(map.value("flag").toBool());
        EXPECT_EQ(map.value("data").toByteArray(), value.value("data").toByteArray());
        EXPECT_EQ(map.value("date").toDateTime(), value.value("date").toDateTime());
        EXPECT_EQ(map.value("list").toList().size(), 2);
        EXPECT_TRUE(PropertyList::isUidReference(map.value("ref")));
        EXPECT_EQ(map.value("ref").toMap().value("CF$UID").toULongLong(), 7u);
    }
}

TEST_F(PropertyListTest, MissingEmptyAndCorruptFilesReadAsNoneWithAReason)
{
    writeText(root() + "/empty.plist", "");
    writeText(root() + "/corrupt.plist", "<?xml version=\"1.0\"?><plist><dict><key>a</key>");
    writeText(root() + "/binary-junk.plist", "bplist00\x01\x02\x03");
    for (const QString name : {"missing.plist", "empty.plist", "corrupt.plist", "binary-junk.plist"}) {
        QString error;
        EXPECT_FALSE(PropertyList::read(root() + '/' + name, &error).has_value()) << name.toStdString();
        EXPECT_FALSE(error.isEmpty()) << name.toStdString();
        EXPECT_TRUE(PropertyList::readDictionary(root() + '/' + name).isEmpty());
    }
}

TEST_F(PropertyListTest, WritesWithTheRequestedModeAndLeavesNoFileOnFailure)
{
    const QString secret = root() + "/secret.plist";
    ASSERT_TRUE(PropertyList::write(secret, QVariantMap{{"k", "v"}}, PropertyList::kOwnerReadWrite));
    struct stat info
    {};
    ASSERT_EQ(::stat(QFile::encodeName(secret).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    QString error;
    EXPECT_FALSE(PropertyList::write(root() + "/no/such/folder/x.plist", QVariantMap{}, PropertyList::kDefaultMode,
                                     PropertyList::Format::Xml, &error));
    EXPECT_FALSE(error.isEmpty());
}
