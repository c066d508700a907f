#include "session/vectors/SessionEngineVectors.h"

#include "engine/command/EngineArgumentsBuilder.h"
#include "session/blocks/ListBlockDealer.h"

namespace SessionEngineVectors {

namespace {

const QString kNoVersions = QStringLiteral("--no-versions");
const QString kNoProxy = QStringLiteral("--proxy=");

void backupFirstLaunch(EngineArgumentsBuilder &args, const Inputs &in)
{
    args.add("--bw-file=", in.bandwidthFile).proxy(in.proxyArgument).add("--relative").add("--encode");
    args.add("--enc-opt").add("--add-progress").add("--xml-output").add("--portable");
    args.add("--portable-dest=", in.dataRoot).add(kNoVersions).add("--temp=", in.tempFolder).port(in.portArgument);
    args.privateKey(in.encodedKey).passwordFile(in.password).add("--chk-cancel=", in.cancelFile);
    args.add("--files-from=", in.listFile).add("/").remote(in.remoteUser, in.remoteServer, in.dataRoot);
}

void backupRelaunch(EngineArgumentsBuilder &args, const Inputs &in)
{
    args.add("--encode").add("--relative").add("--portable").add("--enc-opt").add("--portable-dest=", in.dataRoot);
    args.add(kNoVersions)
        .add("--add-progress")
        .add("--xml-output")
        .timeLimit(EngineArgumentsBuilder::TimeLimit::Engine);
    args.port(in.portArgument).add("--bw-file=", in.bandwidthFile).proxy(in.proxyArgument);
    args.privateKey(in.encodedKey).passwordFile(in.password).add("--chk-cancel=", in.cancelFile);
    args.add("--temp=", in.tempFolder).add("--files-from=", in.listFile);
    args.add(in.relativeOperation ? in.backupSourceFolder : QStringLiteral("/"));
    args.remote(in.remoteUser, in.remoteServer, in.dataRoot);
}

void syncFirstLaunch(EngineArgumentsBuilder &args, const Inputs &in)
{
    args.add("--bw-file=", in.bandwidthFile).proxy(in.proxyArgument).add("--encode").add("--enc-opt");
    args.add("--add-progress").add("--xml-output").add("--portable").add("--portable-dest=", in.dataRoot);
    args.add(kNoVersions).add("--temp=", in.tempFolder).port(in.portArgument);
    args.privateKey(in.encodedKey).passwordFile(in.password).add("--chk-cancel=", in.cancelFile);
    args.add("--files-from=", in.listFile).add(in.baseFolder).remote(in.remoteUser, in.remoteServer, in.dataRoot);
}

void syncRelaunch(EngineArgumentsBuilder &args, const Inputs &in)
{
    args.add("--encode").add("--portable").add("--enc-opt").add("--portable-dest=", in.dataRoot).add(kNoVersions);
    args.add("--add-progress")
        .add("--xml-output")
        .timeLimit(EngineArgumentsBuilder::TimeLimit::Engine)
        .port(in.portArgument);
    args.add("--bw-file=", in.bandwidthFile).proxy(in.proxyArgument);
    args.privateKey(in.encodedKey).passwordFile(in.password).add("--chk-cancel=", in.cancelFile);
    args.add("--temp=", in.tempFolder).add("--files-from=", in.listFile).add(in.baseFolder);
    args.remote(in.remoteUser, in.remoteServer, in.dataRoot);
}

// The same vector for both launch kinds. It names the throttle file too, so
// that a pause reaches a restore the way it reaches a backup.
void restore(EngineArgumentsBuilder &args, const Inputs &in)
{
    const bool marker = in.baseFolder == ListBlockDealer::kRestoreMarker;
    const QString baseFolder = marker || in.baseFolder.isEmpty() ? QStringLiteral("/") : in.baseFolder;
    args.add("--bw-file=", in.bandwidthFile).add(marker ? "--no-relative" : "--relative");
    args.add("--encode").add("--enc-opt").add("--mask-name").add("--portable").add("--portable-dest=", in.dataRoot);
    args.add("--add-progress").add("--xml-output").add("--temp=", in.tempFolder).port(in.portArgument);
    args.timeLimit(EngineArgumentsBuilder::TimeLimit::Engine).proxy(in.proxyArgument);
    args.privateKey(in.encodedKey).passwordFile(in.password).add("--chk-cancel=", in.cancelFile);
    args.add("--files-from=", in.listFile).remote(in.remoteUser, in.remoteServer, in.dataRoot + baseFolder);
    args.add(in.backupSourceFolder);
}

}  // namespace

EngineArguments build(const Inputs &in)
{
    EngineArgumentsBuilder args;
    args.add(in.executable).add("--o=", in.outputFile).add("--e=", in.errorFile);
    switch (in.mode) {
    case Mode::Backup:
        in.firstLaunch ? backupFirstLaunch(args, in) : backupRelaunch(args, in);
        break;
    case Mode::Sync:
        in.firstLaunch ? syncFirstLaunch(args, in) : syncRelaunch(args, in);
        break;
    case Mode::Restore:
        restore(args, in);
        break;
    }
    EngineArguments result = args.build();
    if (in.keepVersions && in.mode == Mode::Backup)
        result.arguments.removeAll(kNoVersions);
    result.arguments.removeAll(kNoProxy);
    return result;
}

QStringList loggedCopy(const QStringList &arguments)
{
    QStringList logged;
    for (const QString &argument : arguments)
        if (!argument.startsWith(QLatin1String("--pvt-key=")) &&
            !argument.startsWith(QLatin1String("--password-file=")))
            logged << argument;
    return logged;
}

}  // namespace SessionEngineVectors
