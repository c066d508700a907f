#include "txruvo/Operation.h"

namespace {

// Operations of the product that this stand-in does not carry out (yet);
// "--inplace" marks the rsync-style upload of accounts without a storage server.
const QStringList kOtherOperations = {
    QStringLiteral("--quota-fromfile"),
    QStringLiteral("--properties"),
    QStringLiteral("--search"),
    QStringLiteral("--inplace"),
};

// Uploads shaped as a backup, by their option. Image metadata comes first:
// its vector may carry the other two options as well.
const QList<QPair<QString, OperationKind>> kUploads = {
    {QStringLiteral("--attrib-ornt2"), OperationKind::ImageMetadata},
    {QStringLiteral("--thumbnail"), OperationKind::ThumbnailUpload},
    {QStringLiteral("--backup-log"), OperationKind::LogUpload},
};

OperationChoice backupOrUpload(const CommandLine &commandLine)
{
    for (const auto &[option, kind] : kUploads) {
        if (commandLine.has(option))
            return {kind, option};
    }
    return {OperationKind::Backup, QString()};
}

// Operations that answer on standard output, by their option.
const QList<QPair<QString, OperationKind>> kAnswerOperations = {
    {QStringLiteral("--get-quota"), OperationKind::Quota},
    {QStringLiteral("--version-info"), OperationKind::VersionInfo},
    {QStringLiteral("--trf-uprate"), OperationKind::TransferRate},
    {QStringLiteral("--trf-downrate"), OperationKind::TransferRate},
    {QStringLiteral("--delete-items"), OperationKind::Delete},
    {QStringLiteral("--moveto-original"), OperationKind::MoveToOriginal},
};

}  // namespace

OperationChoice chooseOperation(const CommandLine &commandLine)
{
    if (commandLine.has(QStringLiteral("--utf8-cmd")))
        return {OperationKind::Encode, QStringLiteral("--utf8-cmd")};
    if (commandLine.has(QStringLiteral("--expressdb-recreate")))
        return {OperationKind::IndexRebuild, QStringLiteral("--expressdb-recreate")};
    for (const auto &[option, kind] : kAnswerOperations) {
        if (commandLine.has(option))
            return {kind, option};
    }
    for (const QString &option : kOtherOperations) {
        if (commandLine.has(option))
            return {OperationKind::NotProvided, option};
    }
    const QStringList &positionals = commandLine.positionals();
    for (qsizetype i = 0; i < positionals.size(); ++i) {
        if (!RemoteSpec::parse(positionals.at(i)))
            continue;
        // The remote is the last positional of a backup and the one before
        // the local target of a restore.
        if (i == positionals.size() - 1)
            return backupOrUpload(commandLine);
        if (i == positionals.size() - 2)
            return {OperationKind::Restore, QString()};
    }
    return {OperationKind::Malformed, QString()};
}
