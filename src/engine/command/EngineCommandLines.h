#pragma once

#include "engine/command/EngineArguments.h"

#include <QString>

#include <optional>

class User;

// The engine argument vector of each operation, in the engine's order. The
// account is the operation controller's own copy; the proxy argument is the
// caller's proxy settings' argument, passed as it comes. Vectors for the
// command runner leave the executable out; those for the session wrapper
// begin with it.
namespace EngineCommandLines {

// Quota: the plain query, or the query from the server's quota file.
EngineArguments quota(const User &account, const QString &proxyArgument, bool fromFile);

// Bandwidth test, upload or download; the user name goes as stored.
EngineArguments bandwidthTest(const User &account, bool upload);

// Version list of the file at serverPath (its "/folderID/encFilename").
EngineArguments versionList(const User &account, const QString &proxyArgument, const QString &destinationFolder,
                            const QString &serverPath);

// The sync account of a delete in sync mode, from the user's sync-details plist.
struct SyncAccount
{
    QString userName;
    QString server;
    QString encodedPassword;
};

// Delete of the items listed in listFile from one computer folder of the
// data root; in sync mode (syncAccount given) under the sync account.
EngineArguments deleteItems(const User &account, const QString &proxyArgument, const QString &destinationPath,
                            const QString &computerFolder, const QString &listFile,
                            const std::optional<SyncAccount> &syncAccount);

// Move of the items listed in listFile back to their original place; the
// engine writes its error lines to errorFile.
EngineArguments moveToOriginal(const User &account, const QString &proxyArgument, const QString &listFile,
                               const QString &errorFile);

// The files of one version restore run.
struct VersionRestoreFiles
{
    QString errorList;        // earlier errors ("--errlog-from=")
    QString operationFolder;  // the engine's working folder ("--temp=")
    QString outputFile;
    QString errorFile;
    QString destinationFolder;  // the computer's data folder on the drive
    QString cancelFile;
    QString sourceList;     // the items to restore ("--files-from=")
    QString restoreTarget;  // the local folder to restore into
};

// Version restore, for the session wrapper.
EngineArguments versionRestore(const QString &executable, const User &account, const QString &proxyArgument,
                               const VersionRestoreFiles &files);

// Index rebuild of the data root, for the session wrapper; userName is the
// account's name in backup mode and the sync user's in sync mode.
EngineArguments indexRebuild(const QString &executable, const QString &dataRoot, const QString &outputFile,
                             const QString &errorFile, const QString &userName);

}  // namespace EngineCommandLines
