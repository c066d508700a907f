#include "index/TXDatabaseWrapper.h"

#include "index/IndexNames.h"
#include "index/IndexQueryKeys.h"
#include "index/TXDatabaseWrapperDelegate.h"
#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMResultSet.h"

#include <QSet>
#include <QStringView>

#include <algorithm>
#include <atomic>
#include <future>
#include <thread>
#include <vector>

namespace {

const QString kUnableToOpenText = QStringLiteral("unable to open database");
const QString kCannotAccessText = QStringLiteral("LDB cannot be accessed");
const QString kUpdateFailedText = QStringLiteral("Database update failed");

// Well below the library's limit of 999 bound values per statement.
constexpr int kValuesPerStatement = 500;
// Rows handed over at once to a receiver that takes them as they come: a
// small first batch shows at once, later ones grow to keep hand-overs few.
constexpr qsizetype kFirstBatchRows = 100;
constexpr qsizetype kLargestBatchRows = 6400;
// A key search over a large index reads ranges of the stored file names at
// once, each on a connection of its own: its work (the name index, then the
// matching rows) is spread over them. One range per so many files, at most
// kMostSearchRanges, never more than the machine's cores.
constexpr qint64 kFilesPerSearchRange = 100000;
constexpr qint64 kMostSearchRanges = 4;
// The rows whose names set the ranges' bounds.
constexpr qint64 kBoundSamples = 64;

// Rows marked absent are left out of every read.
#define PRESENT_FILE " AND qlfile.FILE_LMD <> '0000/00/00 00:00:00'"

// Folders one level below the prefix (?1; ?2 ends its range). Rather than
// reading the whole subtree, it seeks from one child to the next on the name
// index: from a name inside child X it jumps past the end of X's range (no
// stored name ends in "0", so "greater" keeps the seek on the index). Each
// child's own row is then read by its exact name. A name with no "/" after the
// prefix is the folder itself, which is stepped over.
#define CHILD_PART "instr(substr(seek.name, length(?1) + 1), '/')"
const QString kChildFolders = QStringLiteral(
    "WITH RECURSIVE seek(name) AS ("
    " SELECT (SELECT NAME FROM qlfolder WHERE NAME >= ?1 AND NAME < ?2 ORDER BY NAME LIMIT 1)"
    " UNION ALL"
    " SELECT (SELECT NAME FROM qlfolder WHERE NAME > CASE WHEN " CHILD_PART " = 0 THEN seek.name"
    " ELSE substr(seek.name, 1, length(?1) + " CHILD_PART " - 1) || '0' END AND NAME < ?2 ORDER BY NAME LIMIT 1)"
    " FROM seek WHERE seek.name IS NOT NULL)"
    " SELECT qlfolder.NAME FROM seek JOIN qlfolder"
    " ON qlfolder.NAME = substr(seek.name, 1, length(?1) + " CHILD_PART ") || ''''"
    " WHERE " CHILD_PART " > 1 AND qlfolder.FILE_LMD <> '0000/00/00 00:00:00'");
const QString kChildFiles = QStringLiteral("SELECT NAME, FILE_LMD, FILE_SIZE, FILE_OR_FOLDER FROM qlfile"
                                           " WHERE DIRID = (SELECT DIRID FROM qlfolder WHERE NAME = ?)" PRESENT_FILE);
// A file below the root (?1, ?2) whose name holds the key (?3), or any file of
// a folder whose path below the root holds it (%1: the statement that finds
// the matching files' keys). The matching files are found first from the name
// indices alone, which are far smaller than the rows; only they are then read.
// A large index is searched in parts read at once: one per range of stored
// file names (from ?4 and before ?5) for the files whose names match, leaving
// out those of matching folders (%2), and one for the files of the matching
// folders, so that each part reads its share of the names once.
#define FOLDER_BELOW_ROOT(name) "substr(" name ", length(?1) + 1, length(" name ") - length(?1) - 1)"
const QString kSearch =
    QStringLiteral("SELECT qlfolder.NAME, qlfile.NAME, qlfile.FILE_LMD, qlfile.FILE_SIZE, qlfile.FILE_OR_FOLDER,"
                   " qlfile.FOLDER_ID, qlfile.ENC_NAME, qlfile.MPC"
                   " FROM qlfile JOIN qlfolder ON qlfile.DIRID = qlfolder.DIRID"
                   " WHERE qlfile.FILEID IN (%1) AND qlfolder.NAME >= ?1 AND qlfolder.NAME < ?2%2" PRESENT_FILE);
// The name condition (%1) compares the stored name as it stands when the key
// holds no quote, since the enclosing quotes then cannot take part in a match;
// the escape clause (%2) is left out when the pattern has nothing escaped, as
// the match is quicker without it; %3 limits the names to a range.
const QString kFilesWithMatchingNames = QStringLiteral("SELECT FILEID FROM qlfile WHERE %1 LIKE ?3%2%3");
// With the escape clause as %1.
const QString kFilesOfMatchingFolders =
    QStringLiteral("SELECT FILEID FROM qlfile WHERE DIRID IN (SELECT DIRID FROM qlfolder WHERE NAME >= ?1 AND NAME < ?2"
                   " AND " FOLDER_BELOW_ROOT("NAME") " LIKE ?3%1)");
const QString kNotInMatchingFolder = QStringLiteral(" AND NOT (" FOLDER_BELOW_ROOT("qlfolder.NAME") " LIKE ?3%1)");
const QString kStoredName = QStringLiteral("NAME");
const QString kUnquotedName = QStringLiteral("substr(NAME, 2, length(NAME) - 2)");
const QString kEscapeClause = QStringLiteral(" ESCAPE '\\'");
const QString kNameFrom = QStringLiteral(" AND NAME >= ?4");
const QString kNameBetween = QStringLiteral(" AND NAME >= ?4 AND NAME < ?5");
// The stored file names of rows spread evenly over the table (every ?1th
// key up to ?2), in the name index's order.
const QString kNameSample =
    QStringLiteral("WITH RECURSIVE sample(id) AS (SELECT ?1 UNION ALL SELECT id + ?1 FROM sample WHERE id + ?1 <= ?2)"
                   " SELECT NAME FROM qlfile WHERE FILEID IN sample ORDER BY NAME");
const QString kLastFileKey = QStringLiteral("SELECT max(FILEID) FROM qlfile");
// With each file's path, so that a delete can tell which item a stored name stands for.
const QString kEncryptedNames = QStringLiteral(
    "SELECT qlfile.MPC, qlfile.FOLDER_ID, qlfile.FILE_SIZE, qlfile.FILE_LMD, qlfile.FILE_OR_FOLDER, qlfile.ENC_NAME,"
    " (SELECT NAME FROM qlfolder WHERE qlfolder.DIRID = qlfile.DIRID), qlfile.NAME"
    " FROM qlfile WHERE %1" PRESENT_FILE);
const QString kInFolder = QStringLiteral("qlfile.DIRID IN (SELECT DIRID FROM qlfolder WHERE NAME = ?)");
const QString kInSubtree = QStringLiteral("qlfile.DIRID IN (SELECT DIRID FROM qlfolder WHERE NAME >= ? AND NAME < ?)");
const QString kProperties = QStringLiteral("SELECT TOTAL(qlfile.FILE_SIZE), count(*) FROM qlfile WHERE ") + kInSubtree +
                            QStringLiteral(PRESENT_FILE);
const QString kRenameFile =
    QStringLiteral("UPDATE qlfile SET NAME = ? WHERE NAME = ? AND DIRID = (SELECT DIRID FROM qlfolder WHERE NAME = ?)");
// Only the leading prefix changes, in this folder and every folder below it;
// file rows keep their folder keys and so move along.
const QString kRenameFolder =
    QStringLiteral("UPDATE qlfolder SET NAME = ?3 || substr(NAME, length(?1) + 1) WHERE NAME >= ?1 AND NAME < ?2");
const QString kFilesInSubtree =
    QStringLiteral("SELECT qlfolder.NAME, qlfile.NAME FROM qlfolder JOIN qlfile ON qlfile.DIRID = qlfolder.DIRID"
                   " WHERE qlfolder.NAME >= ? AND qlfolder.NAME < ?" PRESENT_FILE);
const QString kFoldersInSubtree =
    QStringLiteral("SELECT NAME FROM qlfolder WHERE NAME >= ? AND NAME < ? AND FILE_LMD <> '0000/00/00 00:00:00'");
const QString kFileExists = QStringLiteral(
    "SELECT 1 FROM qlfile WHERE NAME = ? AND DIRID = (SELECT DIRID FROM qlfolder WHERE NAME = ?)" PRESENT_FILE);

QString absolutePath(const QString &rootRelativePath)
{
    return rootRelativePath.startsWith(QLatin1Char('/')) ? rootRelativePath : QLatin1Char('/') + rootRelativePath;
}

// The stored names' range of a folder's subtree, as two bound values.
QVariantList subtreeRange(const QString &folder)
{
    const QString prefix = IndexNames::subtreePrefix(folder);
    return {prefix, IndexNames::subtreeEnd(prefix)};
}

QStringList withoutDuplicates(const QStringList &values)
{
    QStringList unique;
    QSet<QString> seen;
    for (const QString &value : values) {
        if (!seen.contains(value)) {
            seen.insert(value);
            unique.append(value);
        }
    }
    return unique;
}

// "NAME IN (?,?,?)" with one placeholder per value.
QString inList(const QString &column, qsizetype count)
{
    QStringList placeholders(count, QStringLiteral("?"));
    return QStringLiteral("%1 IN (%2)").arg(column, placeholders.join(QLatin1Char(',')));
}

QList<QStringList> inGroups(const QStringList &values)
{
    QList<QStringList> groups;
    for (qsizetype start = 0; start < values.size(); start += kValuesPerStatement)
        groups.append(values.mid(start, kValuesPerStatement));
    return groups;
}

// The stored name without its enclosing quotes, as IndexNames::unquoted, without a copy.
QStringView unquotedView(const QString &stored)
{
    return stored.size() < 2 ? QStringView() : QStringView(stored).mid(1, stored.size() - 2);
}

// The index path of a file from its folder's stored name (in the column) and
// its own (in the next), both without their quotes.
QString filePath(const FMResultSet &row, int folderColumn)
{
    const QString folder = row.stringForColumnIndex(folderColumn);
    const QString name = row.stringForColumnIndex(folderColumn + 1);
    const QStringView folderPath = unquotedView(folder);
    const QStringView fileName = unquotedView(name);
    QString path;
    path.reserve(folderPath.size() + fileName.size());
    return path.append(folderPath).append(fileName);
}

IndexEntry encryptedNameEntry(const FMResultSet &row)
{
    IndexEntry entry;
    entry.mpcName = row.stringForColumnIndex(0);
    entry.folderID = row.stringForColumnIndex(1);
    entry.fileSize = row.unsignedLongLongIntForColumnIndex(2);
    entry.fileModificationDate = row.stringForColumnIndex(3);
    entry.versionInfo = row.intForColumnIndex(4);
    entry.encFilename = row.stringForColumnIndex(5);
    entry.fileName = filePath(row, 6);
    return entry;
}

// A row of the key search.
IndexEntry searchEntry(const FMResultSet &row)
{
    IndexEntry entry;
    entry.fileName = filePath(row, 0);
    entry.fileModificationDate = row.stringForColumnIndex(2);
    entry.fileSize = row.unsignedLongLongIntForColumnIndex(3);
    entry.versionInfo = row.intForColumnIndex(4);
    entry.folderID = row.stringForColumnIndex(5);
    entry.encFilename = row.stringForColumnIndex(6);
    entry.mpcName = row.stringForColumnIndex(7);
    return entry;
}

// How the stepping of a statement ended: at the end of its rows, by an error
// (at its start or midway), or because the caller stopped it.
enum class Stepping
{
    Finished,
    Failed,
    Stopped
};

// Steps the statement, handing each row to onRow until it answers false.
template <typename OnRow>
Stepping stepRows(FMDatabase &database, const QString &sql, const QVariantList &arguments, OnRow onRow)
{
    auto rows = database.executeQuery(sql, arguments);
    if (!rows)
        return Stepping::Failed;
    while (rows->next()) {
        if (!onRow(*rows))
            return Stepping::Stopped;
    }
    // A damaged page ends the stepping early, like the end of the rows.
    return database.hadError() ? Stepping::Failed : Stepping::Finished;
}

// Gathers the entries of a query for its delegate: all of them for the end,
// or, for a delegate that takes rows as they come, batches handed over as
// they fill, growing from a small first one.
class EntryHandOver
{
public:
    explicit EntryHandOver(TXDatabaseWrapperDelegate *delegate)
        : mDelegate(delegate && delegate->takesRowsAsTheyCome() ? delegate : nullptr)
    {}

    // False once the delegate refused a batch: the query then stops.
    bool add(IndexEntry &&entry)
    {
        // A full batch goes only once another entry follows it, so that the
        // end always brings at least one entry after the batches.
        if (mDelegate && mEntries.size() == mBatchSize) {
            if (!mDelegate->queryDidReadRows(mEntries))
                return false;
            mEntries.clear();
            mBatchSize = std::min(mBatchSize * 4, kLargestBatchRows);
        }
        mEntries.append(std::move(entry));
        return true;
    }
    // What the end reports: every entry, or those not handed over yet.
    const IndexEntries &rest() const { return mEntries; }

private:
    TXDatabaseWrapperDelegate *mDelegate;
    IndexEntries mEntries;
    qsizetype mBatchSize = kFirstBatchRows;
};

// The statement of each part of a key search, with its values.
using SearchPart = std::pair<QString, QVariantList>;

// The bounds between the name ranges of a key search of the index: none for a
// small index; otherwise names of sampled rows, ascending in the index's order.
QStringList searchRangeBounds(FMDatabase &database)
{
    qint64 lastKey = 0;
    if (auto last = database.executeQuery(kLastFileKey); last && last->next())
        lastKey = last->longLongIntForColumnIndex(0);
    const qint64 cores = std::max<qint64>(1, std::thread::hardware_concurrency());
    const qint64 ranges = std::clamp<qint64>(lastKey / kFilesPerSearchRange, 1, std::min(kMostSearchRanges, cores));
    if (ranges == 1)
        return {};
    QStringList sample;
    stepRows(database, kNameSample, {std::max<qint64>(1, lastKey / kBoundSamples), lastKey},
             [&sample](const FMResultSet &row) {
                 sample.append(row.stringForColumnIndex(0));
                 return true;
             });
    QStringList bounds;
    for (qint64 range = 1; range < ranges && !sample.isEmpty(); ++range) {
        const QString bound = sample.at(qsizetype(range * sample.size() / ranges));
        if (bounds.isEmpty() || bounds.last() != bound)
            bounds.append(bound);
    }
    return bounds;
}

// The key search split into its parts: the name ranges, from the empty text
// (before every stored name) to the first bound, then from each bound to the
// next, and last the files of the matching folders. One part for a small index.
QList<SearchPart> keySearchParts(FMDatabase &database, const QVariantMap &search)
{
    const QVariantList root = subtreeRange(search.value(IndexQueryKeys::kPathRootForSearch).toString());
    const QString key = search.value(IndexQueryKeys::kSearchKey).toString();
    const QString pattern = IndexNames::containsPattern(key);
    const QString nameMatch = key.contains(QLatin1Char('\'')) ? kUnquotedName : kStoredName;
    const QString escape = pattern.contains(QLatin1Char('\\')) ? kEscapeClause : QString();
    const QString folderFiles = kFilesOfMatchingFolders.arg(escape);
    const QVariantList rootAndPattern = root + QVariantList{pattern};
    const QStringList bounds = searchRangeBounds(database);
    if (bounds.isEmpty()) {
        const QString files =
            kFilesWithMatchingNames.arg(nameMatch, escape, QString()) + QStringLiteral(" UNION ALL ") + folderFiles;
        return {{kSearch.arg(files, QString()), rootAndPattern}};
    }
    QList<SearchPart> parts;
    const QString notInMatchingFolder = kNotInMatchingFolder.arg(escape);
    QString from = QLatin1String("");
    for (qsizetype range = 0; range <= bounds.size(); ++range) {
        QVariantList arguments = rootAndPattern;
        arguments << from;
        const bool last = range == bounds.size();
        if (!last) {
            arguments << bounds.at(range);
            from = bounds.at(range);
        }
        const QString files = kFilesWithMatchingNames.arg(nameMatch, escape, last ? kNameFrom : kNameBetween);
        parts.append({kSearch.arg(files, notInMatchingFolder), arguments});
    }
    parts.append({kSearch.arg(folderFiles, QString()), rootAndPattern});
    return parts;
}

// One part of a key search, read on a connection of its own until
// its end or until told to stop: its entries, or none with the reason.
struct SearchPartEntries
{
    std::optional<IndexEntries> entries;
    QString error;
};

SearchPartEntries readSearchPart(const QString &path, FMDatabaseTimings timings, const SearchPart &part,
                                 const std::atomic<bool> &stop)
{
    FMDatabase database(path, timings);
    if (!database.openWithFlags(FMDatabase::kOpenExistingFlags))
        return {std::nullopt, database.lastErrorMessage()};
    IndexEntries entries;
    const Stepping end = stepRows(database, part.first, part.second, [&](const FMResultSet &row) {
        entries.append(searchEntry(row));
        return !stop.load(std::memory_order_relaxed);
    });
    if (end != Stepping::Finished)
        return {std::nullopt, database.lastErrorMessage()};
    return {std::move(entries), QString()};
}

}  // namespace

bool TXDatabaseWrapper::openMainIndexForQuery()
{
    if (!mDatabase)
        return false;
    if (mDatabase->open() && mDatabase->goodConnection())
        return true;
    mDatabase->close();
    return false;
}

template <typename MakeRecord>
auto TXDatabaseWrapper::collectRecords(const QString &sql, const QVariantList &arguments, MakeRecord makeRecord)
    -> std::optional<QList<std::invoke_result_t<MakeRecord, const FMResultSet &>>>
{
    QList<std::invoke_result_t<MakeRecord, const FMResultSet &>> records;
    const Stepping end = stepRows(*mDatabase, sql, arguments, [&](const FMResultSet &row) {
        records.append(makeRecord(row));
        return true;
    });
    if (end != Stepping::Finished)
        return std::nullopt;
    return records;
}

void TXDatabaseWrapper::reportEntries(const std::optional<IndexEntries> &entries)
{
    if (!entries)
        return reportQueryError();
    mDatabase->close();
    if (mDelegateObj)
        mDelegateObj->queryFinishedWithEntries(*entries);
}

void TXDatabaseWrapper::reportFinished(const QVariantMap &output)
{
    mDatabase->close();
    if (mDelegateObj)
        mDelegateObj->queryFinishedWithOutput(output);
}

void TXDatabaseWrapper::reportFailed(const QString &error)
{
    if (mDelegateObj)
        mDelegateObj->queryFailedWithError(error);
}

void TXDatabaseWrapper::reportQueryError()
{
    const QString reason = mDatabase->lastErrorMessage();
    mDatabase->close();
    reportFailed(reason);
}

void TXDatabaseWrapper::fetchChildrenForPath(const QString &path)
{
    if (!openMainIndexForQuery())
        return reportFailed(kUnableToOpenText);
    const QString folder = absolutePath(path);
    std::optional<IndexEntries> entries =
        collectRecords(kChildFolders, subtreeRange(folder), [](const FMResultSet &row) {
            IndexEntry folder;
            folder.fileName = IndexNames::unquoted(row.stringForColumnIndex(0));
            folder.fileType = IndexEntry::Type::Folder;
            return folder;
        });
    if (!entries)
        return reportQueryError();
    const std::optional<IndexEntries> files =
        collectRecords(kChildFiles, {IndexNames::folderName(folder)}, [](const FMResultSet &row) {
            IndexEntry file;
            file.fileName = IndexNames::unquoted(row.stringForColumnIndex(0));
            file.fileModificationDate = row.stringForColumnIndex(1);
            file.fileSize = row.unsignedLongLongIntForColumnIndex(2);
            file.versionInfo = row.intForColumnIndex(3);
            return file;
        });
    if (files)
        *entries += *files;
    reportEntries(files ? entries : std::nullopt);
}

void TXDatabaseWrapper::searchForKeyInsidePath(const QVariantMap &search)
{
    if (!openMainIndexForQuery())
        return reportFailed(kUnableToOpenText);
    const QList<SearchPart> parts = keySearchParts(*mDatabase, search);
    // The later parts are read at once on threads of their own, the first
    // here, its rows handed over as they come; then the others' in order.
    std::atomic<bool> stop = false;
    std::vector<std::future<SearchPartEntries>> others;
    for (qsizetype part = 1; part < parts.size(); ++part) {
        others.push_back(std::async(std::launch::async, readSearchPart, mDatabase->databasePath(), mTimings.database,
                                    parts.at(part), std::cref(stop)));
    }
    EntryHandOver handOver(mDelegateObj);
    Stepping end = stepRows(*mDatabase, parts.first().first, parts.first().second,
                            [&handOver](const FMResultSet &row) { return handOver.add(searchEntry(row)); });
    QString error = end == Stepping::Failed ? mDatabase->lastErrorMessage() : QString();
    for (std::future<SearchPartEntries> &other : others) {
        if (end != Stepping::Finished) {
            stop = true;
            break;
        }
        SearchPartEntries part = other.get();
        if (!part.entries) {
            end = Stepping::Failed;
            error = part.error;
            continue;
        }
        for (IndexEntry &entry : *part.entries) {
            if (!handOver.add(std::move(entry))) {
                end = Stepping::Stopped;
                break;
            }
        }
    }
    // Waits for the threads still reading.
    others.clear();
    if (end == Stepping::Finished)
        return reportEntries(handOver.rest());
    mDatabase->close();
    if (end == Stepping::Failed)
        reportFailed(error);
}

void TXDatabaseWrapper::reportEncryptedNames(const QList<Condition> &conditions)
{
    if (!openMainIndexForQuery())
        return reportFailed(kUnableToOpenText);
    IndexEntries entries;
    for (const auto &[condition, arguments] : conditions) {
        const std::optional<IndexEntries> found =
            collectRecords(kEncryptedNames.arg(condition), arguments, encryptedNameEntry);
        if (!found)
            return reportQueryError();
        entries += *found;
    }
    reportEntries(entries);
}

void TXDatabaseWrapper::searchEncryptedNameForPath(const QString &path)
{
    const QString file = absolutePath(path);
    reportEncryptedNames({{QStringLiteral("qlfile.NAME = ? AND ") + kInFolder,
                           {IndexNames::quoted(IndexNames::lastComponent(file)),
                            IndexNames::folderName(IndexNames::parentPath(file))}}});
}

void TXDatabaseWrapper::searchEncryptedNameForPaths(const QVariantMap &namesByFolder)
{
    // Only the first folder is looked at.
    QList<Condition> conditions;
    if (!namesByFolder.isEmpty()) {
        const QString folderName = IndexNames::folderName(absolutePath(namesByFolder.firstKey()));
        QStringList names;
        for (const QString &name : namesByFolder.first().toStringList())
            names.append(IndexNames::quoted(name));
        for (const QStringList &group : inGroups(withoutDuplicates(names))) {
            QVariantList arguments(group.cbegin(), group.cend());
            arguments.append(folderName);
            conditions.append(
                {inList(QStringLiteral("qlfile.NAME"), group.size()) + QStringLiteral(" AND ") + kInFolder, arguments});
        }
    }
    reportEncryptedNames(conditions);
}

void TXDatabaseWrapper::searchEncryptedNameInsidePaths(const QStringList &folders)
{
    QStringList folderNames;
    for (const QString &folder : folders)
        folderNames.append(IndexNames::folderName(absolutePath(folder)));
    QList<Condition> conditions;
    for (const QStringList &group : inGroups(withoutDuplicates(folderNames))) {
        conditions.append({QStringLiteral("qlfile.DIRID IN (SELECT DIRID FROM qlfolder WHERE %1)")
                               .arg(inList(QStringLiteral("NAME"), group.size())),
                           QVariantList(group.cbegin(), group.cend())});
    }
    reportEncryptedNames(conditions);
}

void TXDatabaseWrapper::searchEncryptedNameInsidePath(const QString &folder)
{
    reportEncryptedNames({{kInSubtree, subtreeRange(folder)}});
}

void TXDatabaseWrapper::getProperties(const QString &folder)
{
    if (!openMainIndexForQuery()) {
        if (mDelegateObj)
            mDelegateObj->queryFinishedWithOutput(QVariantMap{{IndexQueryKeys::kErrorMssg, kCannotAccessText},
                                                              {IndexQueryKeys::kStatus, IndexQueryKeys::kFailure}});
        return;
    }
    QVariantMap properties{{IndexQueryKeys::kStatus, IndexQueryKeys::kFailure}};
    auto rows = mDatabase->executeQuery(kProperties, subtreeRange(folder));
    if (rows && rows->next()) {
        // The total as SQLite writes a real number: "2048.0", "0.0" for none.
        properties = {{IndexQueryKeys::kFolderSize, rows->stringForColumnIndex(0)},
                      {IndexQueryKeys::kFileCount, rows->stringForColumnIndex(1)},
                      {IndexQueryKeys::kStatus, IndexQueryKeys::kSuccess}};
    }
    rows.reset();
    reportFinished(properties);
}

void TXDatabaseWrapper::reportRename(const QVariantMap &paths, const QString &sql, const QVariantList &arguments)
{
    if (!openMainIndexForQuery())
        return reportFailed(kUnableToOpenText);
    QVariantMap answer = paths;
    if (!sql.isEmpty() && mDatabase->executeUpdate(sql, arguments)) {
        answer.insert(IndexQueryKeys::kStatus, IndexQueryKeys::kSuccess);
    } else {
        answer.insert(IndexQueryKeys::kStatus, IndexQueryKeys::kFailure);
        answer.insert(IndexQueryKeys::kErrorDesc, kUpdateFailedText);
    }
    reportFinished(answer);
}

void TXDatabaseWrapper::renameFile(const QVariantMap &paths)
{
    const QString original = paths.value(IndexQueryKeys::kOriginalPath).toString();
    const QString renamed = paths.value(IndexQueryKeys::kRenamedPath).toString();
    reportRename(paths, kRenameFile,
                 {IndexNames::quoted(IndexNames::lastComponent(renamed)),
                  IndexNames::quoted(IndexNames::lastComponent(original)),
                  IndexNames::folderName(IndexNames::parentPath(original))});
}

void TXDatabaseWrapper::renameFolder(const QVariantMap &paths)
{
    const QString originalPrefix = IndexNames::subtreePrefix(paths.value(IndexQueryKeys::kOriginalPath).toString());
    const QString renamedPrefix = IndexNames::subtreePrefix(paths.value(IndexQueryKeys::kRenamedPath).toString());
    // The root holds every row; a folder moved into its own subtree would
    // leave no name it could be found by.
    const bool refused = originalPrefix == IndexNames::subtreePrefix(QStringLiteral("/")) ||
                         renamedPrefix.startsWith(originalPrefix, Qt::CaseInsensitive);
    QVariantList arguments = subtreeRange(paths.value(IndexQueryKeys::kOriginalPath).toString());
    arguments.append(renamedPrefix);
    reportRename(paths, refused ? QString() : kRenameFolder, arguments);
}

std::optional<QStringList> TXDatabaseWrapper::getAllFilesInside(const QString &folder)
{
    if (!openMainIndexForQuery())
        return std::nullopt;
    const QVariantList range = subtreeRange(folder);
    const std::optional<QStringList> files = collectRecords(kFilesInSubtree, range, [](const FMResultSet &row) {
        return IndexNames::unquoted(row.stringForColumnIndex(0)) + IndexNames::unquoted(row.stringForColumnIndex(1));
    });
    const std::optional<QStringList> folders =
        files ? collectRecords(kFoldersInSubtree, range,
                               [](const FMResultSet &row) { return IndexNames::unquoted(row.stringForColumnIndex(0)); })
              : std::nullopt;
    mDatabase->close();
    if (!folders)
        return std::nullopt;
    return *files + *folders;
}

std::optional<bool> TXDatabaseWrapper::doesFileExistOnPortable(const QString &path)
{
    if (!openMainIndexForQuery())
        return std::nullopt;
    const std::optional<QList<bool>> found = collectRecords(
        kFileExists,
        {IndexNames::quoted(IndexNames::lastComponent(path)), IndexNames::folderName(IndexNames::parentPath(path))},
        [](const FMResultSet &) { return true; });
    mDatabase->close();
    if (!found)
        return std::nullopt;
    return !found->isEmpty();
}
