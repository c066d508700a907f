#include "client/backup/followups/TimeMachineXattrFollowUp.h"

#include "client/backup/followups/SharedXattrBackupManager.h"
#include "common/files/DirectiryCreation.h"
#include "platform/PathRoots.h"
#include "platform/PrivateFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kDatabaseName = QStringLiteral("Backups.backupdb");

// The database a set path names, or "" when it names none.
QString databaseOf(QString path)
{
    if (path.startsWith(PathRoots::volumesRoot() + '/') && QFileInfo(path + '/' + kDatabaseName).isDir())
        path += '/' + kDatabaseName;
    if (!path.contains(kDatabaseName))
        return {};
    QStringList parts = path.split('/');
    while (!parts.isEmpty() && parts.last() != kDatabaseName)
        parts.removeLast();
    return parts.isEmpty() ? QString() : parts.join('/');
}

}  // namespace

TimeMachineXattrFollowUp::TimeMachineXattrFollowUp(QString workRoot, XattrBackupManager *manager)
    : mWorkRoot(std::move(workRoot))
    , mSharedManager(manager ? nullptr : std::make_unique<SharedXattrBackupManager>())
    , mManager(manager ? manager : mSharedManager.get())
{}

TimeMachineXattrFollowUp::~TimeMachineXattrFollowUp() = default;

QList<TimeMachineXattrFollowUp::Database> TimeMachineXattrFollowUp::databasesOf(const QStringList &setPaths,
                                                                                const QString &runFolder)
{
    QList<Database> databases;
    QString digits;
    for (const QString &path : setPaths) {
        const QString database = databaseOf(path);
        if (database.isEmpty())
            continue;
        digits += QString::number(databases.size() + 1);
        databases.append({database, runFolder + '/' + digits + database});
    }
    return databases;
}

QList<TimeMachineXattrFollowUp::Database> TimeMachineXattrFollowUp::backupXattributes(const QStringList &setPaths,
                                                                                      const User &account,
                                                                                      const QString &executorPath,
                                                                                      const QString &destinationRoot)
{
    if (mWorkRoot.isEmpty())
        return {};  // no user folder to work in
    const QString runFolder =
        QStringLiteral("%1/%2-%3").arg(mWorkRoot).arg(QDateTime::currentMSecsSinceEpoch()).arg(++mRun);
    const QList<Database> databases = databasesOf(setPaths, runFolder);
    if (databases.isEmpty())
        return {};
    // The folders of earlier runs go once no upload reads them any more.
    if (!mManager->isUploading())
        QDir(mWorkRoot).removeRecursively();
    if (!Directiry_Creation::createDirectoryHierarchyAtPath(mWorkRoot) || !PrivateFolder::ensure(runFolder))
        return {};
    mManager->setAccount(account, executorPath);
    const QString root = destinationRoot.startsWith('/') ? destinationRoot : '/' + destinationRoot;
    for (const Database &database : databases) {
        Directiry_Creation::createDirectoryHierarchyAtPath(database.outputFolder);
        mManager->storeXattributesForTimeMachine(database.path, database.outputFolder);
        mManager->backupFile(database.outputFolder, root, database.path);
    }
    return databases;
}
