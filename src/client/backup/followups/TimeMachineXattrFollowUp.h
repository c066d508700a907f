#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class User;
class XattrBackupManager;

// The follow-up of a backup that was not cancelled: the folder attributes of
// the Time Machine databases in the saved set are saved and uploaded beside
// each database on the drive. Each run has a work folder of its own (readable
// by this user alone), so that a run never empties a folder an earlier run's
// upload still reads.
class TimeMachineXattrFollowUp
{
public:
    struct Database
    {
        QString path;          // the "Backups.backupdb" folder
        QString outputFolder;  // where its attribute lists are written

        bool operator==(const Database &) const = default;
    };

    // workRoot: "<UserFolder>/TimeMachine"; "" until a user is logged in. manager:
    // the program's shared extended-attribute manager when none is given.
    TimeMachineXattrFollowUp(QString workRoot, XattrBackupManager *manager);
    ~TimeMachineXattrFollowUp();

    // The logged-in user's work root.
    void setWorkRoot(const QString &workRoot) { mWorkRoot = workRoot; }

    // The databases the set names, in its order, with their output folders in
    // the run's work folder: "1", "12", "123", ... followed by the database's path.
    // A volume stands for its database; a path inside a database for the database.
    static QList<Database> databasesOf(const QStringList &setPaths, const QString &runFolder);

    // Runs the follow-up for one ended backup; returns the databases handed on.
    QList<Database> backupXattributes(const QStringList &setPaths, const User &account, const QString &executorPath,
                                      const QString &destinationRoot);

private:
    QString mWorkRoot;
    std::unique_ptr<XattrBackupManager> mSharedManager;
    XattrBackupManager *mManager;
    std::atomic<int> mRun{0};
};
