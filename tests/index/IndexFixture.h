#pragma once

#include "index/IndexTimings.h"
#include "index/TXDatabaseWrapper.h"
#include "index/TXDatabaseWrapperDelegate.h"
#include "index/journals/DataBaseWrapper.h"
#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMResultSet.h"
#include "support/SandboxFixture.h"

#include <QDir>

#include <memory>

// An index folder in the sandbox with every wait shortened, and helpers that
// write journals, merge them and read rows back.
class IndexFixture : public SandboxFixture
{
protected:
    struct JournalRow
    {
        QString path;
        QString operation = "INSERT";
        qint64 size = 100;
        QVariant version = 1;
        QString encName = "enc";
        QString folderId = "fid";
    };

    static inline const QString kUser = "ann";

    // No waits before opening or between merge statements; short busy waits.
    static constexpr IndexTimings kShortTimings{std::chrono::milliseconds(0),
                                                50,
                                                std::chrono::milliseconds(0),
                                                {std::chrono::milliseconds(300), std::chrono::milliseconds(10)}};

    virtual QString folder() const { return root() + "/ldb"; }
    QString mainIndexPath() const { return folder() + "/" + kUser + ".qlenc"; }
    QStringList folderEntries() const { return QDir(folder()).entryList(QDir::Files, QDir::Name); }

    // The twelve values the index manager hands over for a backed-up file.
    static QVariantList insertValues(const JournalRow &row)
    {
        return {row.path,    "2014-05-06 10:11:12 +0000",
                row.size,    "NA",
                "NA",        false,
                "NA",        "NA",
                row.version, row.folderId,
                "/Office",   row.encName};
    }

    // Writes a finished journal of the rows.
    void writeJournal(const QList<JournalRow> &rows)
    {
        TXDatabaseWrapper journal{kShortTimings};
        QString error;
        ASSERT_TRUE(journal.initializeDatabaseAtPath(folder(), QString(), TXDatabaseWrapper::kJournalMode, &error))
            << error.toStdString();
        for (const JournalRow &row : rows) {
            if (row.operation == "INSERT") {
                EXPECT_TRUE(journal.insertRecord(insertValues(row), false, 0, &error)) << error.toStdString();
            } else if (row.operation == "DELETE") {
                EXPECT_TRUE(journal.deleteRecord(row.path, false, 0, &error)) << error.toStdString();
            } else {
                QVariantList values = insertValues(row);
                values.insert(6, row.operation);
                EXPECT_TRUE(journal.insertValues(values, "FILE_TABLE_TEMP", &error)) << error.toStdString();
            }
        }
        EXPECT_TRUE(journal.commitTransaction());
        journal.unInitializeDatabase();
    }

    // Merges every finished journal of the folder; the sleeper, when given, is used by each merge.
    bool mergeJournals(IndexSleeper sleeper = nullptr)
    {
        DataBaseWrapper merger([sleeper] {
            auto wrapper = std::make_unique<TXDatabaseWrapper>(kShortTimings);
            if (sleeper)
                wrapper->setSleeper(sleeper);
            return wrapper;
        });
        return merger.updateMasterDataBase(folder(), kUser);
    }

    void addFiles(const QStringList &paths)
    {
        QList<JournalRow> rows;
        for (const QString &path : paths)
            rows.append({path});
        writeJournal(rows);
        ASSERT_TRUE(mergeJournals());
    }

    // The first column of every row of a statement on the main index, as text.
    QStringList column(const QString &sql, const QString &path = QString()) const
    {
        FMDatabase db(path.isEmpty() ? mainIndexPath() : path);
        EXPECT_TRUE(db.open());
        QStringList values;
        auto rows = db.executeQuery(sql);
        while (rows && rows->next())
            values.append(rows->stringForColumnIndex(0));
        return values;
    }
    QStringList folderRows(const QString &path = QString()) const
    {
        return column("SELECT NAME FROM qlfolder ORDER BY DIRID", path);
    }
    // Each file as its folder's stored name followed by its own.
    QStringList fileRows(const QString &path = QString()) const
    {
        return column("SELECT qlfolder.NAME || qlfile.NAME FROM qlfile JOIN qlfolder USING (DIRID) ORDER BY FILEID",
                      path);
    }
};

// Keeps what a query reports.
class RecordingDelegate : public TXDatabaseWrapperDelegate
{
public:
    void queryFinishedWithEntries(const IndexEntries &entries) override { entryLists.append(entries); }
    void queryFinishedWithOutput(const QVariant &output) override { outputs.append(output); }
    void queryFailedWithError(const QString &error) override { errors.append(error); }

    // Forgets the ends reported so far (not the errors).
    void clear()
    {
        entryLists.clear();
        outputs.clear();
    }
    bool reported() const { return !entryLists.isEmpty() || !outputs.isEmpty(); }
    IndexEntries entries() const { return entryLists.value(0); }
    QVariantMap record() const { return outputs.value(0).toMap(); }
    // The name of each entry.
    QStringList names() const
    {
        QStringList values;
        for (const IndexEntry &entry : entries())
            values.append(entry.fileName);
        return values;
    }

    QList<IndexEntries> entryLists;
    QVariantList outputs;
    QStringList errors;
};

// A file entry as the search and the lookups give it.
inline IndexEntry fileEntry(const QString &fileName, const QString &date, quint64 size, int version,
                            const QString &folderID, const QString &encFilename, const QString &mpcName)
{
    IndexEntry entry;
    entry.fileName = fileName;
    entry.fileModificationDate = date;
    entry.fileSize = size;
    entry.versionInfo = version;
    entry.folderID = folderID;
    entry.encFilename = encFilename;
    entry.mpcName = mpcName;
    return entry;
}
