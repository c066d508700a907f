#include "TXDatabaseWrapper.h"

#include "ErrorSlot.h"
#include "FMDatabase.h"
#include "IndexMerge.h"
#include "IndexSchema.h"

#include <QDir>

namespace {
const QString kNoJournalText = QStringLiteral("no journal is open");
}

bool TXDatabaseWrapper::updateMasterDatabase(const QString &folder, const QString &user, QString *error)
{
    if (!mDatabase) {
        fillErrorSlot(error, kNoJournalText);
        return false;
    }
    FMDatabase mainIndex(QDir(folder).filePath(user + QStringLiteral(".qlenc")));
    // A handful of statements run once or more per journal row.
    mainIndex.setShouldCacheStatements(true);
    // A fresh drive has no main index yet: the first merge makes it, so that no
    // row lands in a file without tables.
    if (!mainIndex.open()) {
        fillErrorSlot(error, mainIndex.lastErrorMessage());
        return false;
    }
    if (!IndexSchema::ensureMainIndex(mainIndex, error))
        return false;
    if (!mainIndex.beginTransaction()) {
        fillErrorSlot(error, mainIndex.lastErrorMessage());
        return false;
    }
    IndexMerge merge(*mDatabase, mainIndex, mSleeper);
    if (!merge.run(error)) {
        mainIndex.rollback();
        return false;
    }
    if (!mainIndex.commit()) {
        fillErrorSlot(error, mainIndex.lastErrorMessage());
        mainIndex.rollback();
        return false;
    }
    return true;
}
