#include "BinaryPlistBuilder.h"

#include "platform/KeyedArchive.h"
#include "platform/PropertyList.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

// Objects 0..levels-1, each an array holding the next one twice: a few hundred
// bytes that expand to 2^levels nodes when every reference is copied.
QByteArray doublingChain(int levels)
{
    BinaryPlistBuilder plist;
    for (int i = 0; i < levels; ++i)
        plist.placeholder();
    const int leaf = plist.ascii("x");
    for (int i = 0; i < levels; ++i)
        plist.setArray(i, {i + 1 < levels ? i + 1 : leaf, i + 1 < levels ? i + 1 : leaf});
    return plist.bytes();
}

// A binary list nested deeper than any reader allows.
QByteArray deepChain(int levels)
{
    BinaryPlistBuilder plist;
    for (int i = 0; i < levels; ++i)
        plist.placeholder();
    const int leaf = plist.ascii("x");
    for (int i = 0; i < levels; ++i)
        plist.setArray(i, {i + 1 < levels ? i + 1 : leaf});
    return plist.bytes();
}

QByteArray nulInKey()
{
    BinaryPlistBuilder plist;
    plist.dictionary({1, 2});
    plist.utf16({u'a', 0});
    plist.ascii("x");
    return plist.bytes();
}

QByteArray nulInValue()
{
    BinaryPlistBuilder plist;
    plist.array({1});
    plist.utf16({0, u'y'});
    return plist.bytes();
}

QByteArray loop()
{
    BinaryPlistBuilder plist;
    plist.placeholder();
    plist.setArray(0, {0});
    return plist.bytes();
}

QByteArray referenceOutside()
{
    BinaryPlistBuilder plist;
    plist.array({7});
    return plist.bytes();
}

QByteArray keyThatIsNotText()
{
    BinaryPlistBuilder plist;
    plist.dictionary({1, 1});
    plist.array({});
    return plist.bytes();
}

QByteArray deepXml(int levels)
{
    return "<?xml version=\"1.0\"?><plist version=\"1.0\">" + QByteArray("<array>").repeated(levels) +
           QByteArray("</array>").repeated(levels) + "</plist>";
}

// Nesting whose closing tags, as a count of the text sees them, sit inside a
// comment, character data or an instruction right after each opening tag.
QByteArray hiddenNesting(const QByteArray &hider, int levels)
{
    return "<?xml version=\"1.0\"?><plist version=\"1.0\">" + ("<array>" + hider).repeated(levels) +
           QByteArray("</array>").repeated(levels) + "</plist>";
}

// A keyed archive whose NSArray objects each hold the next one twice.
QByteArray doublingArchive(int levels)
{
    QVariantList objects{QStringLiteral("$null")};
    const int classIndex = levels + 2;
    for (int i = 1; i <= levels; ++i) {
        const QVariant next = PropertyList::uidReference(quint64(i < levels ? i + 1 : levels + 1));
        objects.append(QVariantMap{{"NS.objects", QVariantList{next, next}},
                                   {"$class", PropertyList::uidReference(quint64(classIndex))}});
    }
    objects.append(QStringLiteral("leaf"));
    objects.append(QVariantMap{{"$classname", "NSArray"}, {"$classes", QVariantList{"NSArray", "NSObject"}}});
    const QVariantMap archive{{"$archiver", "NSKeyedArchiver"},
                              {"$version", 100000},
                              {"$top", QVariantMap{{"root", PropertyList::uidReference(1)}}},
                              {"$objects", objects}};
    return PropertyList::toData(archive, PropertyList::Format::Binary);
}

QByteArray archivedDate(double seconds)
{
    const QVariantList objects{QStringLiteral("$null"),
                               QVariantMap{{"NS.time", seconds}, {"$class", PropertyList::uidReference(2)}},
                               QVariantMap{{"$classname", "NSDate"}, {"$classes", QVariantList{"NSDate", "NSObject"}}}};
    const QVariantMap archive{{"$archiver", "NSKeyedArchiver"},
                              {"$version", 100000},
                              {"$top", QVariantMap{{"when", PropertyList::uidReference(1)}}},
                              {"$objects", objects}};
    return PropertyList::toData(archive, PropertyList::Format::Binary);
}

TEST(HostileInput, PropertyListsThatWouldTakeTheProgramDownAreRefusedWithAReason)
{
    const struct
    {
        const char *name;
        QByteArray bytes;
        const char *reason;
    } cases[] = {
        {"NUL in a UTF-16 dictionary key", nulInKey(), "NUL"},
        {"NUL in UTF-16 text", nulInValue(), "NUL"},
        {"shared references doubling 40 times", doublingChain(40), "expand"},
        {"binary nesting of 300 levels", deepChain(300), "deeper"},
        {"a list that holds itself", loop(), "leads back"},
        {"a reference past the object table", referenceOutside(), "outside"},
        {"a dictionary key that is an array", keyThatIsNotText(), "not text"},
        {"XML nesting of 100,000 levels", deepXml(100000), "deeper"},
        {"nesting hidden by comments", hiddenNesting("<!--</array-->", 60000), "deeper"},
        {"nesting hidden by character data", hiddenNesting("<string><![CDATA[</array>]]></string>", 60000), "deeper"},
        {"nesting hidden by instructions", hiddenNesting("<?x </array>?>", 60000), "deeper"},
        {"an unclosed comment", QByteArray("<plist><array><!-- </array></plist>"), "left open"},
        {"a document type with its own entities",
         QByteArray("<!DOCTYPE plist [<!ENTITY a \"b\">]><plist><string>&a;</string></plist>"), "document type"},
        {"a NUL byte in XML", QByteArray("<plist><string>a\0b</string></plist>", 35), "NUL"},
        {"a truncated binary list", doublingChain(3).left(20), "not a"},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_FALSE(PropertyList::fromData(c.bytes, &error)) << c.name;
        EXPECT_TRUE(error.contains(c.reason)) << c.name << ": " << error.toStdString();
    }
}

TEST(HostileInput, HonestListsWithSharedTextAndModerateNestingStillRead)
{
    // The writer shares equal strings: many references to one object are normal.
    const QVariantList sizes(5000, QStringLiteral("--"));
    QString error;
    const auto back = PropertyList::fromData(PropertyList::toData(sizes, PropertyList::Format::Binary), &error);
    ASSERT_TRUE(back) << error.toStdString();
    EXPECT_EQ(back->toList(), sizes);

    QVariant nested = QStringLiteral("leaf");
    for (int i = 0; i < 100; ++i)
        nested = QVariantList{nested};
    for (auto format : {PropertyList::Format::Binary, PropertyList::Format::Xml})
        EXPECT_EQ(PropertyList::fromData(PropertyList::toData(nested, format)), nested);
}

TEST(HostileInput, KeyedArchivesThatExpandOrHoldUnusableDatesAreRefused)
{
    const struct
    {
        const char *name;
        QByteArray bytes;
        const char *reason;
    } cases[] = {
        {"shared arrays doubling 40 times", doublingArchive(40), "expand"},
        {"a date that is not a number", archivedDate(std::numeric_limits<double>::quiet_NaN()), "date"},
        {"a date 1e300 seconds away", archivedDate(1e300), "date"},
        {"a date of minus infinity", archivedDate(-std::numeric_limits<double>::infinity()), "date"},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_FALSE(KeyedArchive::decode(c.bytes, &error)) << c.name;
        EXPECT_TRUE(error.contains(c.reason)) << c.name << ": " << error.toStdString();
        EXPECT_LT(c.bytes.size(), 1024) << c.name;
    }

    // Sharing that stays small is decoded once and read back whole.
    QString error;
    const auto shallow = KeyedArchive::decode(doublingArchive(4), &error);
    ASSERT_TRUE(shallow) << error.toStdString();
    EXPECT_EQ(shallow->value("root").toList().size(), 2);
    const auto date = KeyedArchive::decode(archivedDate(0), &error);
    ASSERT_TRUE(date) << error.toStdString();
    EXPECT_EQ(date->value("when").toDateTime(), PropertyList::referenceDate());
}

}  // namespace
