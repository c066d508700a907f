#pragma once

#include "txruvo/RunReport.h"

#include <QString>
#include <QStringList>

class CommandLine;
class DriveLayout;
class Scenario;
class VersionShelf;

// The index rebuild ("--expressdb-recreate"): lists every item stored below
// the data root, one line per item with what the client's index keeps of it
// (folder identifier, computer folder, encoded name, size, time, version).
// Folders are walked in name order and each folder's items are listed
// together, so the client can take the listing one folder at a time.
class RebuildOperation
{
public:
    RebuildOperation(const CommandLine &commandLine, const Scenario &scenario);

    int run();

private:
    // The computer folders below the data root: the data root itself when
    // it is one (sync mode), else each folder in it that the engine stores
    // into (backup mode; the index folder beside them is none).
    QStringList computerFolders() const;
    // False when the scenario ended the run; *status then holds its exit status.
    bool listFolder(const QString &folder, const DriveLayout &layout, const VersionShelf &shelf, int *status);
    QString itemLine(const QString &item, const QString &folderId, const DriveLayout &layout,
                     const VersionShelf &shelf) const;

    const CommandLine &mCommandLine;
    const Scenario &mScenario;
    RunReport mReport;
    QString mDataRoot;
    int mListed = 0;
};
