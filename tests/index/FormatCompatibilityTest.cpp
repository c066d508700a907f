#include "IndexFixture.h"
#include "support/QtPrinters.h"

#include <QFile>

#include <sqlite3.h>

#include <cstring>

// The stored format stays readable both ways: an index and a journal written
// by the code as it stood when the fixture was made open and merge now, and an
// index written now opens with the plain library given the format's key and
// settings spelt out.
namespace {

// The format: the key text, the library's page size and key derivation rounds.
constexpr const char *kFormatKey = "e7a41c93";
constexpr int kFormatPageSize = 1024;
constexpr int kFormatDerivationRounds = 64000;

// A connection through the library alone, keyed from the passphrase with the
// format's settings.
class PlainIndex
{
public:
    explicit PlainIndex(const QString &path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &mDb, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_key(mDb, kFormatKey, int(std::strlen(kFormatKey)));
        exec(QStringLiteral("PRAGMA cipher_page_size = %1").arg(kFormatPageSize));
        exec(QStringLiteral("PRAGMA kdf_iter = %1").arg(kFormatDerivationRounds));
    }
    ~PlainIndex() { sqlite3_close(mDb); }

    // The first column of every row, as text; "error: ..." when the statement fails.
    QStringList column(const QString &sql)
    {
        QStringList values;
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(mDb, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
            return {"error: " + QString::fromUtf8(sqlite3_errmsg(mDb))};
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW)
            values << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        if (step != SQLITE_DONE)
            values << "error: " + QString::fromUtf8(sqlite3_errmsg(mDb));
        sqlite3_finalize(statement);
        return values;
    }

private:
    void exec(const QString &sql) { sqlite3_exec(mDb, sql.toUtf8().constData(), nullptr, nullptr, nullptr); }

    sqlite3 *mDb = nullptr;
};

const QString kSchemaQuery =
    QStringLiteral("SELECT type || ' ' || name || ': ' || coalesce(sql, '') FROM sqlite_master ORDER BY name");
const QStringList kMainSchema = {
    "table qlfile: CREATE TABLE qlfile (FILEID integer primary key autoincrement, DIRID integer not null, NAME "
    "char(1024) not null collate nocase,FILE_LMD char(256),FILE_SIZE __int64,FILE_OR_FOLDER integer DEFAULT "
    "0,BKSET_LMD char(50), SYNC_DATE char(50),BACKUP_STATUS integer DEFAULT 0,BKSET_NAME char(50),HASH_VALUE "
    "__int64,THUMB integer DEFAULT 0, FOLDER_ID char(1024),MPC char(50),ENC_NAME char(1024),foreign key (DIRID) "
    "references qlfolder (DIRID),UNIQUE(dirid, name))",
    "index qlfile_indx: CREATE INDEX qlfile_indx ON qlfile (NAME)",
    "table qlfolder: CREATE TABLE qlfolder (DIRID integer primary key autoincrement, NAME char(1024) not null "
    "collate nocase,FILE_LMD char(256),FILE_SIZE __int64,LEVEL_NO integer DEFAULT 0,UNIQUE(NAME))",
    "index qlfolder_indx: CREATE INDEX qlfolder_indx ON qlfolder (NAME)",
    "index sqlite_autoindex_qlfile_1: ",
    "index sqlite_autoindex_qlfolder_1: ",
    "table sqlite_sequence: CREATE TABLE sqlite_sequence(name,seq)",
};
// Every stored value of a file row that the index writes, with its folder.
const QString kFileValues = QStringLiteral(
    "SELECT d.NAME || f.NAME || '|' || f.FILE_LMD || '|' || f.FILE_SIZE || '|' || f.FILE_OR_FOLDER || '|' || "
    "f.BKSET_LMD || '|' || f.SYNC_DATE || '|' || f.BACKUP_STATUS || '|' || f.BKSET_NAME || '|' || f.HASH_VALUE || '|' "
    "|| f.THUMB || '|' || f.FOLDER_ID || '|' || f.MPC || '|' || f.ENC_NAME || '|' || typeof(f.FILE_SIZE) || "
    "typeof(f.HASH_VALUE) FROM qlfile f JOIN qlfolder d USING (DIRID) ORDER BY f.FILEID");

QString fileValues(const QString &file, int size, int version, int thumb, const QString &encName)
{
    return QStringLiteral(
               "%1|2014-05-06 10:11:12 +0000|%2|%3|NA|NA|1|Default Backupset|1234566|%4|fid|/Office|%5|integerinteger")
        .arg(file)
        .arg(size)
        .arg(version)
        .arg(thumb)
        .arg(encName);
}

class FormatCompatibilityTest : public IndexFixture
{
protected:
    static QString fixture(const QString &name)
    {
        return qEnvironmentVariable("TX_SOURCE_DIR") + "/tests/index/fixtures/format/" + name;
    }
};

TEST_F(FormatCompatibilityTest, AnIndexAndJournalWrittenBeforeOpenQueryAndMergeNow)
{
    ASSERT_TRUE(QDir().mkpath(folder()));
    ASSERT_TRUE(QFile::copy(fixture("ann.qlenc"), mainIndexPath()));
    ASSERT_TRUE(QFile::copy(fixture("journal.qlt"), folder() + "/journal.qlt"));
    for (const QString &path : {mainIndexPath(), folder() + "/journal.qlt"})
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    // The fixture is what the plain library reads from the passphrase, too.
    EXPECT_EQ(PlainIndex(mainIndexPath()).column(kSchemaQuery), kMainSchema);

    TXDatabaseWrapper reader{kShortTimings};
    RecordingDelegate listing;
    reader.setDelegate(&listing);
    ASSERT_TRUE(reader.initializeDatabaseAtPath(folder(), kUser, TXDatabaseWrapper::kListingMode));
    reader.fetchChildrenForPath("Office/Users/ann/Docs");
    EXPECT_TRUE(listing.errors.isEmpty());
    EXPECT_EQ(listing.entries().size(), 3);

    ASSERT_TRUE(mergeJournals());
    EXPECT_EQ(folderEntries(), QStringList{"ann.qlenc"});
    EXPECT_EQ(folderRows(),
              QStringList({"'/'", "'/Office/Users/ann/Docs/'", "'/Office/Users/ann/'", "'/Office/Users/'", "'/Office/'",
                           "'/Office/Users/ann/x_y%z/'", "'/Office/Users/ann/Été/'", "'/Office/Users/ann/New/'"}));
    EXPECT_EQ(column(kFileValues),
              QStringList({fileValues("'/Office/Users/ann/Docs/''photo.JPG'", 100, 1, 1, "enc"),
                           fileValues("'/Office/Users/ann/Docs/''Report.doc'", 250, 3, 0, "enc-report-3"),
                           fileValues("'/Office/Users/ann/x_y%z/''it's.txt'", 100, 1, 0, "enc"),
                           fileValues("'/Office/Users/ann/Été/''naïve.txt'", 100, 1, 0, "enc"),
                           fileValues("'/Office/Users/ann/New/''fresh.png'", 42, 1, 1, "enc-fresh")}));
    EXPECT_EQ(column("PRAGMA integrity_check"), QStringList{"ok"});
}

TEST_F(FormatCompatibilityTest, AnIndexAndJournalWrittenNowOpenWithThePlainLibraryAndTheFormatsSettings)
{
    // Large enough a first merge to make the file name index again at its end.
    QList<JournalRow> rows;
    for (int file = 0; file < 300; ++file)
        rows.append({QStringLiteral("/Office/d%1/f%2.jpg").arg(file % 7).arg(file), "INSERT", file, 2, "e"});
    writeJournal(rows);
    ASSERT_TRUE(mergeJournals());
    writeJournal({{"/Office/d1/f1.jpg", "INSERT", 5, 1, "again"}, {"/Office/d2/", "DELETE"}});
    const QString journal = folder() + "/" + folderEntries().filter(".qlt").value(0);

    PlainIndex journalRead(journal);
    EXPECT_EQ(
        journalRead.column(kSchemaQuery),
        QStringList({"table FILE_TABLE_TEMP: CREATE TABLE FILE_TABLE_TEMP(FILEPATH char(1024) primary key collate "
                     "nocase,FILE_LMD char(256),FILE_SIZE __int64, ENC_METHOD char(3), ENC_PSWD char(300), "
                     "FILE_OR_FOLDER bool, OPERATION_TYPE char(32),BKSET_LMD char(50), SYNC_DATE char(50),VERSION "
                     "integer(3),FOLDER_ID char(1024),MPC char(50),ENC_NAME char(1024))",
                     "index sqlite_autoindex_FILE_TABLE_TEMP_1: "}));
    EXPECT_EQ(journalRead.column("SELECT FILEPATH || '|' || OPERATION_TYPE FROM FILE_TABLE_TEMP ORDER BY rowid"),
              QStringList({"/Office/d1/f1.jpg|INSERT", "/Office/d2/|DELETE"}));

    ASSERT_TRUE(mergeJournals());
    PlainIndex indexRead(mainIndexPath());
    EXPECT_EQ(indexRead.column(kSchemaQuery), kMainSchema);
    EXPECT_EQ(indexRead.column("PRAGMA page_size"), QStringList{QString::number(kFormatPageSize)});
    EXPECT_EQ(indexRead.column("PRAGMA journal_mode"), QStringList{"wal"});
    EXPECT_EQ(indexRead.column("PRAGMA integrity_check"), QStringList{"ok"});
    // Every file but the 43 of /Office/d2, found through the name index made again.
    EXPECT_EQ(indexRead.column("SELECT count(*) FROM qlfile INDEXED BY qlfile_indx WHERE NAME > ''"),
              QStringList{"257"});
    const QStringList values = indexRead.column(kFileValues);
    EXPECT_EQ(values.value(0), fileValues("'/Office/d0/''f0.jpg'", 0, 2, 1, "e"));
    EXPECT_TRUE(values.contains(fileValues("'/Office/d1/''f1.jpg'", 5, 2, 1, "again")))
        << values.join("\n").toStdString();
}

}  // namespace
