#include "engine/command/EngineCommandLines.h"

#include "common/account/User.h"
#include "engine/command/EngineArgumentsBuilder.h"

namespace EngineCommandLines {

namespace {

// The options by which the engine finds stored names on the destination drive.
void addDriveNameOptions(EngineArgumentsBuilder &args, const QString &dataRoot)
{
    args.add("--encode").add("--enc-opt").add("--mask-name").add("--portable").add("--portable-dest=", dataRoot);
}

}  // namespace

EngineArguments quota(const User &account, const QString &proxyArgument, bool fromFile)
{
    EngineArgumentsBuilder args;
    args.add(fromFile ? "--quota-fromfile" : "--get-quota")
        .timeLimit(EngineArgumentsBuilder::TimeLimit::Quota)
        .port(account.Port())
        .passwordFile(account.Password())
        .privateKey(account.PrivateKey())
        .add("--xml-output")
        .proxy(proxyArgument)
        .remote(account.UserName().toLower(), account.RuvoServerIP(), "/");
    return args.build();
}

EngineArguments bandwidthTest(const User &account, bool upload)
{
    EngineArgumentsBuilder args;
    args.add("--xml-output");
    if (upload)
        args.add("--trf-uprate").passwordFile(account.Password()).privateKey(account.PrivateKey());
    else
        args.privateKey(account.PrivateKey()).passwordFile(account.Password()).add("--trf-downrate");
    args.remote(account.UserName(), account.RuvoServerIP(), "/");
    return args.build();
}

EngineArguments versionList(const User &account, const QString &proxyArgument, const QString &destinationFolder,
                            const QString &serverPath)
{
    EngineArgumentsBuilder args;
    args.add("--version-info").add("--no-relative");
    addDriveNameOptions(args, destinationFolder);
    args.timeLimit(EngineArgumentsBuilder::TimeLimit::Engine)
        .proxy(proxyArgument)
        .add("--xml-output")
        .port(account.Port());
    // An account with its own key names it, and its stored names sit under the computer's folder.
    if (!account.isDefaultKey())
        args.privateKey(account.mEncodedKey());
    args.passwordFile(account.mEncodedPassword());
    const QString path = args.require(serverPath, "the file's server path");
    args.remote(account.UserName().toLower(), account.RuvoServerIP(),
                account.isDefaultKey() ? path : destinationFolder + path);
    return args.build();
}

EngineArguments deleteItems(const User &account, const QString &proxyArgument, const QString &destinationPath,
                            const QString &computerFolder, const QString &listFile,
                            const std::optional<SyncAccount> &syncAccount)
{
    EngineArgumentsBuilder args;
    args.add("--delete-items").timeLimit(EngineArgumentsBuilder::TimeLimit::Engine).add("--xml-output");
    addDriveNameOptions(args, destinationPath);
    args.proxy(proxyArgument)
        .port(account.Port())
        .passwordFile(syncAccount ? syncAccount->encodedPassword : account.mEncodedPassword())
        .privateKey(account.mEncodedKey())
        .add("--files-from=", listFile);
    // The computer folder is empty text in sync mode and for an empty selection.
    if (syncAccount)
        args.remote(syncAccount->userName.toLower(), syncAccount->server, destinationPath + u'/' + computerFolder);
    else
        args.remote(account.UserName().toLower(), account.RuvoServerIP(),
                    u'/' + destinationPath + u'/' + computerFolder);
    return args.build();
}

EngineArguments moveToOriginal(const User &account, const QString &proxyArgument, const QString &listFile,
                               const QString &errorFile)
{
    EngineArgumentsBuilder args;
    args.add("--moveto-original")
        .add("--no-relative")
        .timeLimit(EngineArgumentsBuilder::TimeLimit::Engine)
        .add("--xml-output")
        .proxy(proxyArgument)
        .port(account.Port())
        .add("--e=", errorFile);
    if (account.isDefaultKey())
        args.passwordFile(account.Password()).add("--files-from=", listFile);
    else
        args.add("--files-from=", listFile).privateKey(account.PrivateKey()).passwordFile(account.Password());
    args.remote(account.UserName(), account.RuvoServerIP(), "/");
    return args.build();
}

EngineArguments versionRestore(const QString &executable, const User &account, const QString &proxyArgument,
                               const VersionRestoreFiles &files)
{
    EngineArgumentsBuilder args;
    args.add(executable).add("--no-relative").add("--add-progress").add("--xml-output");
    args.add("--encode").add("--enc-opt").add("--mask-name");
    args.add("--errlog-from=", files.errorList)
        .add("--temp=", files.operationFolder)
        .port(account.Port())
        .timeLimit(EngineArgumentsBuilder::TimeLimit::Engine)
        .proxy(proxyArgument)
        .passwordFile(account.mEncodedPassword())
        .privateKey(account.mEncodedKey())
        .add("--o=", files.outputFile)
        .add("--e=", files.errorFile)
        .add("--portable")
        .add("--portable-dest=", files.destinationFolder)
        .add("--chk-cancel=", files.cancelFile)
        .add("--files-from=", files.sourceList)
        .remote(account.UserName().toLower(), account.RuvoServerIP(), u'/' + files.destinationFolder + u'/')
        .add(files.restoreTarget);
    return args.build();
}

EngineArguments indexRebuild(const QString &executable, const QString &dataRoot, const QString &outputFile,
                             const QString &errorFile, const QString &userName)
{
    EngineArgumentsBuilder args;
    args.add(executable)
        .add("--expressdb-recreate")
        .add("--portable-dest=", dataRoot)
        .add("--o=", outputFile)
        .add("--e=", errorFile)
        .add("--user=", userName);
    return args.build();
}

}  // namespace EngineCommandLines
