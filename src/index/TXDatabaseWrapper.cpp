#include "index/TXDatabaseWrapper.h"

#include "index/IndexFileOwner.h"
#include "index/IndexSchema.h"
#include "index/journals/JournalFiles.h"
#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMStatement.h"
#include "platform/ErrorSlot.h"

#include <QDir>

#include <QFile>
#include <thread>

namespace {

const QString kMainIndexExtension = QStringLiteral(".qlenc");
// The journal table is the only one written row by row.
const QString kJournalInsert =
    QStringLiteral(
        "INSERT INTO %1  ( FILEPATH, FILE_LMD, FILE_SIZE, ENC_METHOD, ENC_PSWD, FILE_OR_FOLDER, OPERATION_TYPE, "
        "BKSET_LMD, SYNC_DATE,VERSION,FOLDER_ID,MPC,ENC_NAME ) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?)")
        .arg(kTempTable);
constexpr int kInsertRecordValueCount = kJournalColumnCount - 1;
constexpr int kOperationTypeColumn = 6;
const QString kNotApplicable = QStringLiteral("NA");
const QString kNoJournalFileText = QStringLiteral("no journal file could be created");

}  // namespace

void IndexSleep::sleepFor(std::chrono::milliseconds duration)
{
    if (duration.count() > 0)
        std::this_thread::sleep_for(duration);
}

TXDatabaseWrapper::TXDatabaseWrapper(IndexTimings timings)
    : mTimings(timings)
{}
TXDatabaseWrapper::~TXDatabaseWrapper() = default;

QString TXDatabaseWrapper::encryptPath(const QString &path)
{
    QString scrambled = path;
    for (QChar &unit : scrambled) {
        const char16_t value = unit.unicode();
        if (value != u'\'' && value != u'/' && value != u'\\')
            unit = QChar(char16_t(value + 63));
    }
    return scrambled;
}

void TXDatabaseWrapper::replaceConnection(const QString &path)
{
    mJournalInsert.reset();
    mDatabase = std::make_unique<FMDatabase>(path, mTimings.database);
}

bool TXDatabaseWrapper::initializeDatabaseAtPath(const QString &folder, const QString &mainDBName, int listingCGI,
                                                 QString *error)
{
    if (!IndexFileOwner::ensureSharedFolder(folder, error))
        return false;
    if (listingCGI != kJournalMode) {
        const QString mainIndex = QDir(folder).filePath(mainDBName + kMainIndexExtension);
        if (!IndexFileOwner::isOwnOrAbsent(mainIndex)) {
            ErrorSlot::fill(error, IndexFileOwner::foreignFileText(mainIndex));
            return false;
        }
        IndexSleep::sleepFor(mTimings.openWait);
        replaceConnection(mainIndex);
        if (!mDatabase->open()) {
            ErrorSlot::fill(error, mDatabase->lastErrorMessage());
            return false;
        }
        // Left open when ready: the query that follows uses it without keying
        // a second connection, and closes it when done.
        if (IndexSchema::ensureMainIndex(*mDatabase, error))
            return true;
        mDatabase->close();
        return false;
    }

    mTempFilePath = JournalFiles::createJournal(folder);
    if (mTempFilePath.isEmpty()) {
        ErrorSlot::fill(error, kNoJournalFileText);
        return false;
    }
    replaceConnection(mTempFilePath);
    mDatabase->setShouldCacheStatements(true);
    IndexSleep::sleepFor(mTimings.openWait);
    if (mDatabase->open() && mDatabase->beginTransaction() && IndexSchema::createJournalTable(*mDatabase))
        return true;
    // No half-made journal is left behind: it would never be finished or merged.
    ErrorSlot::fill(error, mDatabase->lastErrorMessage());
    removeDataBaseAtPath(mTempFilePath);
    mTempFilePath.clear();
    return false;
}

bool TXDatabaseWrapper::insertRecord(const QVariantList &values, bool shouldEncrypt, int listingCGI, QString *error)
{
    if (values.size() != kInsertRecordValueCount)
        return false;
    QVariantList row = values;
    row.insert(kOperationTypeColumn, kOperationTypeInsert);
    if (shouldEncrypt)
        row[0] = encryptPath(row[0].toString());
    return insertValues(row, listingCGI == kJournalMode ? kTempTable : kMainTable, error);
}

bool TXDatabaseWrapper::deleteRecord(const QString &path, bool shouldEncrypt, int listingCGI, QString *error)
{
    const QString empty = QLatin1String("");
    const QVariantList row = {shouldEncrypt ? encryptPath(path) : path,
                              kNotApplicable,
                              0,
                              empty,
                              empty,
                              false,
                              kOperationTypeDelete,
                              empty,
                              empty,
                              empty,
                              empty,
                              empty,
                              empty};
    return insertValues(row, listingCGI == kJournalMode ? kTempTable : kMainTable, error);
}

bool TXDatabaseWrapper::insertValues(const QVariantList &values, const QString &tableName, QString *error)
{
    // Only journal rows are written this way; the main index is fed by the merge.
    if (tableName.compare(kTempTable, Qt::CaseInsensitive) != 0 || values.size() != kJournalColumnCount || !mDatabase)
        return false;
    // Prepared once per journal: no lookup of the statement's text per row.
    if (!mJournalInsert)
        mJournalInsert = mDatabase->statementForRepeatedUse(kJournalInsert);
    if (mJournalInsert && mDatabase->executeUpdate(*mJournalInsert, values))
        return true;
    ErrorSlot::fill(error, mDatabase->lastErrorMessage());
    return false;
}

bool TXDatabaseWrapper::beginTransaction() { return mDatabase && mDatabase->beginTransaction(); }

bool TXDatabaseWrapper::commitTransaction() { return mDatabase && mDatabase->commit(); }

void TXDatabaseWrapper::unInitializeDatabase()
{
    mDatabase.reset();
    if (!mTempFilePath.isEmpty())
        JournalFiles::finish(mTempFilePath);
    mTempFilePath.clear();
}

bool TXDatabaseWrapper::openDatabaseAtPath(const QString &folder, const QString &name, QString *error)
{
    const QString path = name.isEmpty() ? mTempFilePath : QDir(folder).filePath(name);
    if (!IndexFileOwner::isOwnOrAbsent(path)) {
        ErrorSlot::fill(error, IndexFileOwner::foreignFileText(path));
        return false;
    }
    replaceConnection(path);
    if (mDatabase->openWithFlags(FMDatabase::kOpenExistingFlags))
        return true;
    ErrorSlot::fill(error, mDatabase->lastErrorMessage());
    return false;
}

void TXDatabaseWrapper::closeDatabase()
{
    if (mDatabase)
        mDatabase->close();
}

void TXDatabaseWrapper::removeDataBaseAtPath(const QString &path)
{
    mDatabase.reset();
    QFile::remove(path);
}
