#pragma once

#include "engine/command/EngineArguments.h"

#include <QString>
#include <QStringList>

// The engine's argument vectors of a backup, sync or restore session, for the
// first launch of an engine in a session and for a relaunch (next block or
// retry). Element 0 is the executable. The password and the private key go to
// the engine as paths of private files, never as text on the command line.
namespace SessionEngineVectors {

enum class Mode
{
    Backup,
    Sync,
    Restore
};

struct Inputs
{
    Mode mode = Mode::Backup;
    bool firstLaunch = true;
    QString executable;
    QString outputFile;
    QString errorFile;
    QString bandwidthFile;
    QString proxyArgument;  // "--proxy=" when no proxy is set
    QString portArgument;   // "--port=443"
    QString encodedKey;
    QString password;  // the account's encoded password, or the sync account's
    QString cancelFile;
    QString tempFolder;
    QString listFile;
    QString dataRoot;
    QString remoteUser;  // lower case
    QString remoteServer;
    QString baseFolder;          // the first line of the block: sync mode and restores
    QString backupSourceFolder;  // backup: the root of relative paths; restore: the local target
    bool relativeOperation = true;
    bool keepVersions = false;
};

EngineArguments build(const Inputs &inputs);

// The vector as it may be logged: without the key and password elements.
QStringList loggedCopy(const QStringList &arguments);

}  // namespace SessionEngineVectors
