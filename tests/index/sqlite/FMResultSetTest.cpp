#include "index/sqlite/FMResultSet.h"
#include "DatabaseFixture.h"

#include <sqlite3.h>

#include <limits>

class FMResultSetTest : public DatabaseFixture
{
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        db = openDatabase(dbPath());
        ASSERT_TRUE(db->executeUpdate("create table t(Name text, Size integer, Data blob, Stamp real)"));
        ASSERT_TRUE(db->executeUpdate("insert into t values ('a.txt', 5000000000, x'0102', 0.0)"));
        ASSERT_TRUE(db->executeUpdate("insert into t values (NULL, NULL, x'', NULL)"));
    }

    std::unique_ptr<FMDatabase> db;
};

TEST_F(FMResultSetTest, ReadsColumnsByNameInAnyCase)
{
    auto rs = db->executeQuery("select Name, Size, Data, Stamp from t order by rowid");
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ(rs->stringForColumn("name"), "a.txt");
    EXPECT_EQ(rs->stringForColumn("NAME"), "a.txt");
    EXPECT_EQ(rs->longLongIntForColumn("size"), 5000000000LL);
    EXPECT_EQ(rs->unsignedLongLongIntForColumn("Size"), 5000000000ULL);
    EXPECT_EQ(rs->intForColumnIndex(1), int(5000000000LL & 0xffffffff));
    EXPECT_TRUE(rs->boolForColumn("size"));
    EXPECT_EQ(rs->doubleForColumn("size"), 5e9);
    EXPECT_EQ(rs->dataForColumn("data"), QByteArray("\x01\x02"));
    EXPECT_EQ(rs->dateForColumn("stamp"), QDateTime(QDate(1970, 1, 1), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(rs->columnNameForIndex(0), "Name");

    // A name the result does not have reads as empty.
    EXPECT_EQ(rs->columnIndexForName("missing"), -1);
    EXPECT_TRUE(rs->stringForColumn("missing").isNull());
    EXPECT_EQ(rs->longLongIntForColumn("missing"), 0);
    EXPECT_FALSE(rs->objectForColumnName("missing").isValid());
    EXPECT_TRUE(rs->columnIsNull("missing"));

    // Two columns of one name: the later wins.
    auto twice = db->executeQuery("select 1 as a, 2 as A");
    ASSERT_TRUE(twice && twice->next());
    EXPECT_EQ(twice->columnIndexForName("a"), 1);
    EXPECT_EQ(twice->intForColumn("a"), 2);
}

TEST_F(FMResultSetTest, NullAndEmptyValuesReadAsTheNullObject)
{
    auto rs = db->executeQuery("select Name, Size, Data, Stamp, '' from t where Name is null");
    ASSERT_TRUE(rs && rs->next());
    EXPECT_TRUE(rs->stringForColumnIndex(0).isNull());
    EXPECT_FALSE(rs->objectForColumnIndex(0).isValid());
    EXPECT_TRUE(rs->columnIndexIsNull(1));
    EXPECT_EQ(rs->longLongIntForColumnIndex(1), 0);
    EXPECT_FALSE(rs->columnIndexIsNull(2));
    EXPECT_TRUE(rs->dataForColumnIndex(2).isNull());  // an empty blob
    EXPECT_FALSE(rs->objectForColumnIndex(2).isValid());
    EXPECT_FALSE(rs->dateForColumnIndex(3).isValid());
    // An empty text is not NULL.
    EXPECT_FALSE(rs->stringForColumnIndex(4).isNull());
    EXPECT_EQ(rs->objectForColumnIndex(4), QVariant(QString("")));
    EXPECT_EQ(rs->objectForColumnIndex(-1), QVariant());
}

TEST_F(FMResultSetTest, TheEndOfTheRowsClosesTheResultSet)
{
    auto rs = db->executeQuery("select Name from t");
    ASSERT_TRUE(rs);
    EXPECT_TRUE(db->hasOpenResultSets());
    EXPECT_TRUE(rs->next());
    EXPECT_TRUE(rs->next());
    EXPECT_FALSE(rs->next());
    EXPECT_FALSE(db->hasOpenResultSets());
    EXPECT_FALSE(db->hadError());
    EXPECT_FALSE(rs->next());
    rs->close();
    EXPECT_EQ(rs->columnCount(), 0);
    EXPECT_EQ(rs->query(), "select Name from t");
}

TEST_F(FMResultSetTest, AnErrorWhileSteppingEndsTheRowsAndStaysReadable)
{
    auto rs = db->executeQuery("select abs(?)", {std::numeric_limits<qint64>::min()});
    ASSERT_TRUE(rs);
    EXPECT_FALSE(rs->next());
    EXPECT_FALSE(db->hasOpenResultSets());
    EXPECT_TRUE(db->hadError());
    EXPECT_EQ(db->lastErrorCode(), SQLITE_ERROR);
    EXPECT_EQ(db->lastErrorMessage(), "integer overflow");
}
