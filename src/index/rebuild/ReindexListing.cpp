#include "index/rebuild/ReindexListing.h"

#include "common/transfer/FileTransferData.h"
#include "index/IndexNames.h"

namespace {

QString absolute(const QString &path)
{
    return path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path;
}

}  // namespace

std::optional<QVariantMap> ReindexListing::fileRecord(const FileTransferData &line)
{
    const QVariantMap record = {
        {QStringLiteral("VersionNumber"), line.file_ver()},
        {QStringLiteral("FileSize"), line.size()},
        {QStringLiteral("FilePath"), IndexNames::lastComponent(line.fname())},
        {QStringLiteral("FileModificationTime"), line.mod_time()},
        {QStringLiteral("folderID"), line.folder_id()},
        {QStringLiteral("mpcName"), line.mpc()},
        {QStringLiteral("encFilename"), line.enc_name()},
    };
    for (const QVariant &value : record) {
        if (value.toString().isEmpty())
            return std::nullopt;
    }
    return record;
}

QString ReindexListing::folderKey(const FileTransferData &line, bool backupMode)
{
    const QString parent = IndexNames::parentPath(absolute(line.fname()));
    if (!backupMode)
        return parent;
    // The engine names the computer folder with or without its leading "/".
    QString computerFolder = line.mpc();
    while (computerFolder.startsWith(QLatin1Char('/')))
        computerFolder.remove(0, 1);
    if (computerFolder.isEmpty())
        return parent;
    return QLatin1Char('/') + computerFolder + (parent == QLatin1String("/") ? QString() : parent);
}
