#include "DatabaseFixture.h"

#include "index/sqlite/FMDatabaseKey.h"
#include "index/sqlite/FMResultSet.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

// Connections to a file that has its salt open with the raw key derived once;
// the stored format stays the one the library writes from the passphrase.
namespace {

// A connection through the library alone, keyed with the given text and,
// when asked, with the format's settings spelt out.
struct PlainConnection
{
    explicit PlainConnection(const QString &path, const QByteArray &keyText, bool formatSettings = false)
    {
        sqlite3_open(path.toUtf8().constData(), &db);
        sqlite3_key(db, keyText.constData(), int(keyText.size()));
        if (formatSettings) {
            sqlite3_exec(db, "PRAGMA cipher_page_size = 1024", nullptr, nullptr, nullptr);
            sqlite3_exec(
                db, QByteArray("PRAGMA kdf_iter = " + QByteArray::number(FMDatabaseKey::kDerivationRounds)).constData(),
                nullptr, nullptr, nullptr);
        }
    }
    ~PlainConnection() { sqlite3_close(db); }

    bool exec(const char *sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

    // The names in the table, or none when it cannot be read.
    QStringList names()
    {
        QStringList read;
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT name FROM files ORDER BY name", -1, &statement, nullptr) != SQLITE_OK)
            return read;
        while (sqlite3_step(statement) == SQLITE_ROW)
            read << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return read;
    }

    sqlite3 *db = nullptr;
};

QStringList namesThrough(FMDatabase &db)
{
    QStringList read;
    auto rows = db.executeQuery(QStringLiteral("SELECT name FROM files ORDER BY name"));
    while (rows && rows->next())
        read << rows->stringForColumnIndex(0);
    return read;
}

class FMDatabaseKeyTest : public DatabaseFixture
{};

TEST_F(FMDatabaseKeyTest, FileWrittenFromThePassphraseOpensWithTheRawKeyAndStaysReadable)
{
    {
        PlainConnection before(dbPath(), FMDatabase::kDatabaseKey);
        ASSERT_TRUE(before.exec("CREATE TABLE files(name TEXT)"));
        ASSERT_TRUE(before.exec("INSERT INTO files VALUES('a.txt')"));
    }
    EXPECT_TRUE(FMDatabaseKey::keyTextForFile(dbPath(), FMDatabase::kDatabaseKey).startsWith("x'"));

    auto db = openDatabase(dbPath());
    EXPECT_EQ(namesThrough(*db), QStringList{"a.txt"});
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO files VALUES('b.txt')")));
    db->close();

    PlainConnection after(dbPath(), FMDatabase::kDatabaseKey, true);
    EXPECT_EQ(after.names(), (QStringList{"a.txt", "b.txt"}));
}

TEST_F(FMDatabaseKeyTest, FileWrittenNowOpensWithThePlainLibraryAndTheFormatsKeyAndSettings)
{
    {
        auto created = openDatabase(dbPath());
        ASSERT_TRUE(created->executeUpdate(QStringLiteral("CREATE TABLE files(name TEXT)")));
    }
    {
        // Opened again, now through the raw key.
        auto reopened = openDatabase(dbPath());
        ASSERT_TRUE(reopened->executeUpdate(QStringLiteral("INSERT INTO files VALUES('c.txt')")));
    }
    PlainConnection plain(dbPath(), FMDatabase::kDatabaseKey, true);
    EXPECT_EQ(plain.names(), QStringList{"c.txt"});
}

TEST_F(FMDatabaseKeyTest, RawKeyIsHonouredAndAWrongOneReadsNothing)
{
    {
        PlainConnection created(dbPath(), FMDatabase::kDatabaseKey);
        ASSERT_TRUE(created.exec("CREATE TABLE files(name TEXT)"));
    }
    const QByteArray keyText = FMDatabaseKey::keyTextForFile(dbPath(), FMDatabase::kDatabaseKey);
    ASSERT_EQ(keyText.size(), 2 + 2 * (FMDatabaseKey::kKeyBytes + FMDatabaseKey::kSaltBytes) + 1);
    EXPECT_TRUE(PlainConnection(dbPath(), keyText).exec("SELECT count(*) FROM files"));

    QByteArray wrong = keyText;
    wrong[2] = wrong[2] == '0' ? '1' : '0';
    EXPECT_FALSE(PlainConnection(dbPath(), wrong).exec("SELECT count(*) FROM files"));
}

TEST_F(FMDatabaseKeyTest, NewOrEmptyFileAndMemoryDatabaseUseThePassphrase)
{
    EXPECT_EQ(FMDatabaseKey::keyTextForFile(dbPath(QStringLiteral("missing.qlenc")), FMDatabase::kDatabaseKey),
              FMDatabase::kDatabaseKey);
    QFile empty(dbPath(QStringLiteral("empty.qlenc")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_EQ(FMDatabaseKey::keyTextForFile(empty.fileName(), FMDatabase::kDatabaseKey), FMDatabase::kDatabaseKey);
    EXPECT_EQ(FMDatabaseKey::keyTextForFile(QString(), FMDatabase::kDatabaseKey), FMDatabase::kDatabaseKey);
}

}  // namespace
