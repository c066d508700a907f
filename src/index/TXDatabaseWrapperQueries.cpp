#include "index/TXDatabaseWrapper.h"

#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMResultSet.h"
#include "index/IndexNames.h"
#include "index/TXDatabaseWrapperDelegate.h"

#include <QSet>

namespace {

const QString kUnableToOpenText = QStringLiteral("unable to open database");
const QString kCannotAccessText = QStringLiteral("LDB cannot be accessed");
const QString kUpdateFailedText = QStringLiteral("Database update failed");
const QString kSuccess = QStringLiteral("Success");
const QString kFailure = QStringLiteral("Failure");

// Well below the library's limit of 999 bound values per statement.
constexpr int kValuesPerStatement = 500;

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
const QString kChildFiles = QStringLiteral(
    "SELECT NAME, FILE_LMD, FILE_SIZE, FILE_OR_FOLDER FROM qlfile"
    " WHERE DIRID = (SELECT DIRID FROM qlfolder WHERE NAME = ?)" PRESENT_FILE);
// A file below the root (?1, ?2) whose name holds the key (?3), or any file of
// a folder whose path below the root holds it. The matching files are found
// first from the name indices alone, which are far smaller than the rows; only
// they are then read. The name condition (%1) compares the stored name as it
// stands when the key holds no quote, since the enclosing quotes then cannot
// take part in a match.
const QString kSearch = QStringLiteral(
    "SELECT qlfolder.NAME, qlfile.NAME, qlfile.FILE_LMD, qlfile.FILE_SIZE, qlfile.FILE_OR_FOLDER,"
    " qlfile.FOLDER_ID, qlfile.ENC_NAME, qlfile.MPC"
    " FROM qlfile JOIN qlfolder ON qlfile.DIRID = qlfolder.DIRID"
    " WHERE qlfile.FILEID IN ("
    "  SELECT FILEID FROM qlfile WHERE %1 LIKE ?3 ESCAPE '\\'"
    "  UNION ALL SELECT FILEID FROM qlfile WHERE DIRID IN (SELECT DIRID FROM qlfolder WHERE NAME >= ?1 AND NAME < ?2"
    "   AND substr(NAME, length(?1) + 1, length(NAME) - length(?1) - 1) LIKE ?3 ESCAPE '\\'))"
    " AND qlfolder.NAME >= ?1 AND qlfolder.NAME < ?2" PRESENT_FILE);
const QString kStoredName = QStringLiteral("NAME");
const QString kUnquotedName = QStringLiteral("substr(NAME, 2, length(NAME) - 2)");
// With each file's path, so that a delete can tell which item a stored name stands for.
const QString kEncryptedNames = QStringLiteral(
    "SELECT qlfile.MPC, qlfile.FOLDER_ID, qlfile.FILE_SIZE, qlfile.FILE_LMD, qlfile.FILE_OR_FOLDER, qlfile.ENC_NAME,"
    " (SELECT NAME FROM qlfolder WHERE qlfolder.DIRID = qlfile.DIRID), qlfile.NAME"
    " FROM qlfile WHERE %1" PRESENT_FILE);
const QString kInFolder = QStringLiteral("qlfile.DIRID IN (SELECT DIRID FROM qlfolder WHERE NAME = ?)");
const QString kInSubtree = QStringLiteral("qlfile.DIRID IN (SELECT DIRID FROM qlfolder WHERE NAME >= ? AND NAME < ?)");
const QString kProperties = QStringLiteral(
    "SELECT TOTAL(qlfile.FILE_SIZE), count(*) FROM qlfile WHERE ") + kInSubtree + QStringLiteral(PRESENT_FILE);
const QString kRenameFile = QStringLiteral(
    "UPDATE qlfile SET NAME = ? WHERE NAME = ? AND DIRID = (SELECT DIRID FROM qlfolder WHERE NAME = ?)");
// Only the leading prefix changes, in this folder and every folder below it;
// file rows keep their folder keys and so move along.
const QString kRenameFolder = QStringLiteral(
    "UPDATE qlfolder SET NAME = ?3 || substr(NAME, length(?1) + 1) WHERE NAME >= ?1 AND NAME < ?2");
const QString kFilesInSubtree = QStringLiteral(
    "SELECT qlfolder.NAME, qlfile.NAME FROM qlfolder JOIN qlfile ON qlfile.DIRID = qlfolder.DIRID"
    " WHERE qlfolder.NAME >= ? AND qlfolder.NAME < ?" PRESENT_FILE);
const QString kFoldersInSubtree = QStringLiteral(
    "SELECT NAME FROM qlfolder WHERE NAME >= ? AND NAME < ? AND FILE_LMD <> '0000/00/00 00:00:00'");
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

QVariantMap encryptedNameRecord(const FMResultSet &row)
{
    return {{"mpcName", row.stringForColumnIndex(0)},
            {"folderID", row.stringForColumnIndex(1)},
            {"FileSize", row.stringForColumnIndex(2)},
            {"FileModificationDate", row.stringForColumnIndex(3)},
            {"VersionInfo", row.stringForColumnIndex(4)},
            {"encFilename", row.stringForColumnIndex(5)},
            {"FileName",
             IndexNames::unquoted(row.stringForColumnIndex(6)) + IndexNames::unquoted(row.stringForColumnIndex(7))}};
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
std::optional<QVariantList> TXDatabaseWrapper::collectRecords(const QString &sql, const QVariantList &arguments,
                                                              MakeRecord makeRecord)
{
    auto rows = mDatabase->executeQuery(sql, arguments);
    if (!rows)
        return std::nullopt;
    QVariantList records;
    while (rows->next())
        records.append(makeRecord(*rows));
    // A damaged page ends the stepping early, like the end of the rows.
    if (mDatabase->hadError())
        return std::nullopt;
    return records;
}

void TXDatabaseWrapper::reportRecords(const std::optional<QVariantList> &records)
{
    if (records)
        reportFinished(*records);
    else
        reportQueryError();
}

void TXDatabaseWrapper::reportFinished(const QVariant &output)
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
    std::optional<QVariantList> records = collectRecords(kChildFolders, subtreeRange(folder), [](const FMResultSet &row) {
        return QVariantMap{{"FileName", IndexNames::unquoted(row.stringForColumnIndex(0))}, {"FileType", "D"}};
    });
    if (!records)
        return reportQueryError();
    const std::optional<QVariantList> files = collectRecords(kChildFiles, {IndexNames::folderName(folder)}, [](const FMResultSet &row) {
        return QVariantMap{{"FileName", IndexNames::unquoted(row.stringForColumnIndex(0))},
                           {"FileModificationDate", row.stringForColumnIndex(1)},
                           {"FileSize", row.stringForColumnIndex(2)},
                           {"FileType", "F"},
                           {"VersionInfo", row.stringForColumnIndex(3)}};
    });
    if (files)
        *records += *files;
    reportRecords(files ? records : std::nullopt);
}

void TXDatabaseWrapper::searchForKeyInsidePath(const QVariantMap &search)
{
    if (!openMainIndexForQuery())
        return reportFailed(kUnableToOpenText);
    QVariantList arguments = subtreeRange(search.value("PathRootForSearch").toString());
    const QString key = search.value("SearchKey").toString();
    arguments.append(IndexNames::containsPattern(key));
    const QString sql = kSearch.arg(key.contains(QLatin1Char('\'')) ? kUnquotedName : kStoredName);
    reportRecords(collectRecords(sql, arguments, [](const FMResultSet &row) {
        return QVariantMap{
            {"FileName", IndexNames::unquoted(row.stringForColumnIndex(0)) + IndexNames::unquoted(row.stringForColumnIndex(1))},
            {"FileModificationDate", row.stringForColumnIndex(2)},
            {"FileSize", row.stringForColumnIndex(3)},
            {"VersionInfo", row.stringForColumnIndex(4)},
            {"folderID", row.stringForColumnIndex(5)},
            {"encFilename", row.stringForColumnIndex(6)},
            {"mpcName", row.stringForColumnIndex(7)}};
    }));
}

void TXDatabaseWrapper::reportEncryptedNames(const QList<Condition> &conditions)
{
    if (!openMainIndexForQuery())
        return reportFailed(kUnableToOpenText);
    QVariantList records;
    for (const auto &[condition, arguments] : conditions) {
        const std::optional<QVariantList> found = collectRecords(kEncryptedNames.arg(condition), arguments, encryptedNameRecord);
        if (!found)
            return reportQueryError();
        records += *found;
    }
    reportFinished(records);
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
            conditions.append({inList(QStringLiteral("qlfile.NAME"), group.size()) + QStringLiteral(" AND ") + kInFolder,
                               arguments});
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
            mDelegateObj->queryFinishedWithOutput(QVariantMap{{"ErrorMssg", kCannotAccessText}, {"Status", kFailure}});
        return;
    }
    QVariantMap properties{{"Status", kFailure}};
    auto rows = mDatabase->executeQuery(kProperties, subtreeRange(folder));
    if (rows && rows->next()) {
        // The total as SQLite writes a real number: "2048.0", "0.0" for none.
        properties = {{"fileSize", rows->stringForColumnIndex(0)},
                      {"FileCount", rows->stringForColumnIndex(1)},
                      {"Status", kSuccess}};
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
        answer.insert("Status", kSuccess);
    } else {
        answer.insert("Status", kFailure);
        answer.insert("ErrorDesc", kUpdateFailedText);
    }
    reportFinished(answer);
}

void TXDatabaseWrapper::renameFile(const QVariantMap &paths)
{
    const QString original = paths.value("OriginalPath").toString();
    const QString renamed = paths.value("RenamedPath").toString();
    reportRename(paths, kRenameFile,
                 {IndexNames::quoted(IndexNames::lastComponent(renamed)),
                  IndexNames::quoted(IndexNames::lastComponent(original)),
                  IndexNames::folderName(IndexNames::parentPath(original))});
}

void TXDatabaseWrapper::renameFolder(const QVariantMap &paths)
{
    const QString originalPrefix = IndexNames::subtreePrefix(paths.value("OriginalPath").toString());
    const QString renamedPrefix = IndexNames::subtreePrefix(paths.value("RenamedPath").toString());
    // The root holds every row; a folder moved into its own subtree would
    // leave no name it could be found by.
    const bool refused = originalPrefix == IndexNames::subtreePrefix(QStringLiteral("/"))
                         || renamedPrefix.startsWith(originalPrefix, Qt::CaseInsensitive);
    QVariantList arguments = subtreeRange(paths.value("OriginalPath").toString());
    arguments.append(renamedPrefix);
    reportRename(paths, refused ? QString() : kRenameFolder, arguments);
}

std::optional<QStringList> TXDatabaseWrapper::getAllFilesInside(const QString &folder)
{
    if (!openMainIndexForQuery())
        return std::nullopt;
    const QVariantList range = subtreeRange(folder);
    const std::optional<QVariantList> files = collectRecords(kFilesInSubtree, range, [](const FMResultSet &row) {
        return IndexNames::unquoted(row.stringForColumnIndex(0)) + IndexNames::unquoted(row.stringForColumnIndex(1));
    });
    const std::optional<QVariantList> folders = files ? collectRecords(kFoldersInSubtree, range, [](const FMResultSet &row) {
        return IndexNames::unquoted(row.stringForColumnIndex(0));
    }) : std::nullopt;
    mDatabase->close();
    if (!folders)
        return std::nullopt;
    QStringList paths;
    for (const QVariant &path : *files + *folders)
        paths.append(path.toString());
    return paths;
}

std::optional<bool> TXDatabaseWrapper::doesFileExistOnPortable(const QString &path)
{
    if (!openMainIndexForQuery())
        return std::nullopt;
    const std::optional<QVariantList> found =
        collectRecords(kFileExists, {IndexNames::quoted(IndexNames::lastComponent(path)),
                                     IndexNames::folderName(IndexNames::parentPath(path))},
                       [](const FMResultSet &) { return QVariant(true); });
    mDatabase->close();
    if (!found)
        return std::nullopt;
    return !found->isEmpty();
}
