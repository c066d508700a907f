// txruvo: the stand-in for the storage engine. It honours the argument
// vectors the client builds and stores, versions and restores files on the
// local backup drive; README.md states the contract.

#include "txruvo/AnswerRun.h"
#include "txruvo/ArgvLog.h"
#include "txruvo/BackupOperation.h"
#include "txruvo/CommandLine.h"
#include "txruvo/DeleteOperation.h"
#include "txruvo/EncodeOperation.h"
#include "txruvo/ExitStatus.h"
#include "txruvo/ImageMetadataOperation.h"
#include "txruvo/MoveToOriginalOperation.h"
#include "txruvo/Operation.h"
#include "txruvo/QuotaOperation.h"
#include "txruvo/RebuildOperation.h"
#include "txruvo/RestoreOperation.h"
#include "txruvo/Scenario.h"
#include "txruvo/SessionRun.h"
#include "txruvo/TransferRateOperation.h"
#include "txruvo/VersionInfoOperation.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace {

int runSession(const CommandLine &commandLine, const Scenario &scenario, OperationKind kind)
{
    SessionRun session(commandLine, scenario);
    if (const std::optional<SessionRun::Stop> stop = session.prepare())
        return stop->exitStatus;
    switch (kind) {
    case OperationKind::Backup:
        return BackupOperation(session, BackupOperation::Kind::Items).run();
    case OperationKind::ThumbnailUpload:
        return BackupOperation(session, BackupOperation::Kind::Thumbnails).run();
    case OperationKind::LogUpload:
        return BackupOperation(session, BackupOperation::Kind::Logs).run();
    case OperationKind::ImageMetadata:
        return ImageMetadataOperation(session).run();
    default:
        return RestoreOperation(session).run();
    }
}

int runAnswer(const CommandLine &commandLine, const Scenario &scenario, OperationKind kind)
{
    AnswerRun answer(commandLine, scenario);
    if (kind == OperationKind::Quota)
        return QuotaOperation(answer).run();
    if (kind == OperationKind::VersionInfo)
        return VersionInfoOperation(answer).run();
    if (kind == OperationKind::Delete)
        return DeleteOperation(answer).run();
    if (kind == OperationKind::MoveToOriginal)
        return MoveToOriginalOperation(answer).run();
    return TransferRateOperation(answer).run();
}

int runOperation(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    ArgvLog::append(arguments);

    QString error;
    const std::optional<Scenario> scenario = Scenario::fromEnvironment(&error);
    if (!scenario) {
        std::fprintf(stderr, "txruvo error: scenario file unusable: %s\n", qPrintable(error));
        return ExitStatus::kMalformed;
    }
    const CommandLine commandLine(arguments.mid(1));
    const OperationChoice choice = chooseOperation(commandLine);
    switch (choice.kind) {
    case OperationKind::Encode:
        return EncodeOperation(commandLine.value(QStringLiteral("--utf8-cmd"))).run();
    case OperationKind::IndexRebuild:
        return RebuildOperation(commandLine, *scenario).run();
    case OperationKind::Backup:
    case OperationKind::ThumbnailUpload:
    case OperationKind::LogUpload:
    case OperationKind::ImageMetadata:
    case OperationKind::Restore:
        return runSession(commandLine, *scenario, choice.kind);
    case OperationKind::Quota:
    case OperationKind::VersionInfo:
    case OperationKind::TransferRate:
    case OperationKind::Delete:
    case OperationKind::MoveToOriginal:
        return runAnswer(commandLine, *scenario, choice.kind);
    case OperationKind::NotProvided:
        std::fprintf(stderr, "txruvo error: %s is not supported by this engine\n", qPrintable(choice.option));
        return ExitStatus::kFailed;
    case OperationKind::Malformed:
        break;
    }
    std::fprintf(stderr, "txruvo error: invalid path (no remote USER@SERVER::home<path> given)\n");
    return ExitStatus::kMalformed;
}

}  // namespace

int main(int argc, char *argv[])
{
    const int status = runOperation(argc, argv);
    // Every file of the run is written and closed by now. What is left are
    // the libraries' own clean-ups at exit, which touch code not used
    // before: a run of a few milliseconds would spend a good part of its
    // time on them.
    std::fflush(nullptr);
    std::_Exit(status);
}
