#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class FMDatabase;
class FMResultSet;
class FMStatement;

// The main-index writes of the merge's INSERT pass, through statements
// prepared once per merge. A journal row's columns are bound as the library
// hands them over: no value is wrapped or converted and no statement text is
// looked up per row, which is most of the merge's time otherwise. The rows
// written are those of IndexRows' statements, value for value.
class IndexMergeRows
{
public:
    explicit IndexMergeRows(FMDatabase &mainIndex);
    ~IndexMergeRows();

    // False when a statement cannot be prepared; the connection tells why.
    bool prepare();

    // Adds the folder's row and those of its missing ancestors (onAttempt after
    // the lookup of the folder and every insert tried) and answers the folder's key. None when an insert
    // failed for another reason than a present row, or no row holds the key.
    std::optional<qint64> enterFolder(const QString &folderPath, const std::function<void()> &onAttempt);

    // Adds the file of the journal row (its name unquoted, UTF-8) to the
    // folder or, when the folder holds that name in any letter case, updates
    // that row with the row's values. False on any other failure.
    bool writeFile(qint64 folderKey, QByteArrayView name, const FMResultSet &journalRow);

private:
    // The key of the folder's row; none when it has none or the lookup failed.
    std::optional<qint64> folderKey(const QString &folderPath);
    bool runUpdate(qint64 folderKey, const FMResultSet &journalRow, int thumb);
    int thumbFlag(QByteArrayView name);

    FMDatabase &mMain;
    std::shared_ptr<FMStatement> mInsertFolder;
    std::shared_ptr<FMStatement> mFolderKey;
    std::shared_ptr<FMStatement> mInsertFile;
    std::shared_ptr<FMStatement> mUpdateFileKeepingVersion;
    std::shared_ptr<FMStatement> mUpdateFile;
    QByteArray mFolderName;   // bound while a folder statement runs
    std::string mQuotedName;  // bound while a file statement runs
    // Extensions seen, with their THUMB value: a merge meets few of them.
    std::vector<std::pair<QByteArray, int>> mThumbByExtension;
};
