#include "DatabaseFixture.h"
#include "index/sqlite/FMResultSet.h"
#include "index/sqlite/FMStatement.h"

#include <sqlite3.h>

class FMStatementCacheTest : public DatabaseFixture
{
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        db = openDatabase(dbPath());
        db->setShouldCacheStatements(true);
        ASSERT_TRUE(db->executeUpdate("create table t(a integer unique, b text)"));
        for (int a = 1; a <= 3; ++a)
            ASSERT_TRUE(db->executeUpdate(kInsert, {a, QString("row %1").arg(a)}));
    }

    const std::vector<std::shared_ptr<FMStatement>> &cached(const QString &sql) const
    {
        static const std::vector<std::shared_ptr<FMStatement>> none;
        const auto found = db->cachedStatements().constFind(sql);
        return found == db->cachedStatements().constEnd() ? none : *found;
    }

    QStringList valuesAbove(int a)
    {
        QStringList values;
        auto rs = db->executeQuery(kSelectAbove, {a});
        while (rs && rs->next())
            values << rs->stringForColumnIndex(0);
        return values;
    }

    const QString kInsert = QStringLiteral("insert into t values (?, ?)");
    const QString kSelectAbove = QStringLiteral("select b from t where a > ? order by a");
    std::unique_ptr<FMDatabase> db;
};

TEST_F(FMStatementCacheTest, OneStatementServesEveryExecutionOfItsTextWithItsOwnValues)
{
    ASSERT_EQ(cached(kInsert).size(), 1u);
    EXPECT_EQ(cached(kInsert).front()->useCount(), 3);

    EXPECT_EQ(valuesAbove(0), QStringList({"row 1", "row 2", "row 3"}));
    EXPECT_EQ(valuesAbove(2), QStringList({"row 3"}));
    // A result set left before its last row does not leave the next one half-way.
    {
        auto rs = db->executeQuery(kSelectAbove, {0});
        ASSERT_TRUE(rs && rs->next());
    }
    EXPECT_EQ(valuesAbove(1), QStringList({"row 2", "row 3"}));
    ASSERT_EQ(cached(kSelectAbove).size(), 1u);
    EXPECT_EQ(cached(kSelectAbove).front()->useCount(), 4);
    EXPECT_FALSE(cached(kSelectAbove).front()->inUse());
}

TEST_F(FMStatementCacheTest, AFailedExecutionKeepsItsReasonAndTheStatementStaysUsable)
{
    // The merge turns an insert into an update on exactly this code.
    EXPECT_FALSE(db->executeUpdate(kInsert, {2, "again"}));
    EXPECT_EQ(db->lastErrorCode(), SQLITE_CONSTRAINT);
    EXPECT_TRUE(db->lastErrorMessage().contains("UNIQUE constraint failed"));
    EXPECT_FALSE(db->executeUpdate(kInsert, {1}));
    EXPECT_EQ(db->lastErrorCode(), SQLITE_RANGE);

    EXPECT_TRUE(db->executeUpdate(kInsert, {4, "row 4"}));
    EXPECT_EQ(valuesAbove(3), QStringList({"row 4"}));
    EXPECT_EQ(cached(kInsert).size(), 1u);
}

TEST_F(FMStatementCacheTest, AStatementAResultSetReadsIsNotHandedOutAgain)
{
    auto outer = db->executeQuery(kSelectAbove, {0});
    ASSERT_TRUE(outer && outer->next());
    EXPECT_EQ(outer->stringForColumnIndex(0), "row 1");

    // The same text while the first is still being read: a statement of its own.
    EXPECT_EQ(valuesAbove(2), QStringList({"row 3"}));
    ASSERT_EQ(cached(kSelectAbove).size(), 2u);
    EXPECT_NE(cached(kSelectAbove)[0]->statement(), cached(kSelectAbove)[1]->statement());

    // The outer reading goes on undisturbed.
    ASSERT_TRUE(outer->next());
    EXPECT_EQ(outer->stringForColumnIndex(0), "row 2");
    outer->close();
    EXPECT_EQ(valuesAbove(0).size(), 3);
    EXPECT_EQ(cached(kSelectAbove).size(), 2u);
}

TEST_F(FMStatementCacheTest, ClosingTheConnectionFinalizesCachedStatements)
{
    auto open = db->executeQuery(kSelectAbove, {0});
    ASSERT_TRUE(open && open->next());
    const auto insert = cached(kInsert).front();
    const auto select = cached(kSelectAbove).front();

    db->close();
    EXPECT_EQ(insert->statement(), nullptr);
    EXPECT_EQ(select->statement(), nullptr);
    EXPECT_TRUE(db->cachedStatements().isEmpty());
    EXPECT_FALSE(open->next());

    // Nothing of the old handle is left over: the reopened connection writes
    // and reads again, through statements prepared anew.
    ASSERT_TRUE(db->open());
    EXPECT_TRUE(db->executeUpdate(kInsert, {4, "row 4"}));
    EXPECT_EQ(valuesAbove(3), QStringList({"row 4"}));
    EXPECT_EQ(cached(kInsert).front()->useCount(), 1);
}

TEST_F(FMStatementCacheTest, TurningTheCacheOffDropsItWithoutDisturbingAnOpenResultSet)
{
    auto open = db->executeQuery(kSelectAbove, {0});
    ASSERT_TRUE(open && open->next());

    db->setShouldCacheStatements(false);
    EXPECT_TRUE(db->cachedStatements().isEmpty());
    ASSERT_TRUE(db->executeUpdate(kInsert, {-1, "row -1"}));
    EXPECT_TRUE(db->cachedStatements().isEmpty());

    QStringList rest;
    while (open->next())
        rest << open->stringForColumnIndex(0);
    EXPECT_EQ(rest, QStringList({"row 2", "row 3"}));
}

TEST_F(FMStatementCacheTest, AStatementForRepeatedUseIsTheCallersAloneAndDiesWithTheConnection)
{
    const auto repeated = db->statementForRepeatedUse(kSelectAbove);
    ASSERT_TRUE(repeated);
    EXPECT_TRUE(cached(kSelectAbove).empty());
    EXPECT_EQ(valuesAbove(1), QStringList({"row 2", "row 3"}));
    EXPECT_NE(cached(kSelectAbove).front(), repeated);

    repeated->bindInt64(1, 2);
    {
        auto rows = db->executeQuery(repeated);
        ASSERT_TRUE(rows && rows->next());
        EXPECT_EQ(rows->stringForColumnIndex(0), "row 3");
        // One cursor at a time.
        EXPECT_EQ(db->executeQuery(repeated), nullptr);
    }
    const auto insert = db->statementForRepeatedUse(kInsert);
    const QByteArray text = "row 4";
    insert->bindInt64(1, 4);
    insert->bindTextUntilRun(2, text);
    EXPECT_TRUE(db->executeUpdate(*insert));
    EXPECT_FALSE(db->executeUpdate(*insert));
    EXPECT_TRUE(db->lastErrorWasConstraint());
    EXPECT_TRUE(db->executeUpdate(*insert, {5, QString("row 5")}));
    EXPECT_EQ(valuesAbove(3), QStringList({"row 4", "row 5"}));

    db->close();
    ASSERT_TRUE(db->open());
    EXPECT_FALSE(db->executeUpdate(*insert, {6, QString("row 6")}));
    EXPECT_FALSE(db->lastErrorMessage().isEmpty());
    EXPECT_EQ(valuesAbove(5), QStringList());
}
