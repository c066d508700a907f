#include "index/rebuild/ReindexListing.h"

#include "common/transfer/FileTransferData.h"
#include "index/IndexNames.h"
#include "index/manager/IndexPathRule.h"

namespace {

QString absolute(const QString &path) { return path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path; }

}  // namespace

std::optional<IndexRows::FileValues> ReindexListing::fileRecord(const FileTransferData &line)
{
    for (const QString &value :
         {line.file_ver(), line.size(), line.fname(), line.mod_time(), line.folder_id(), line.mpc(), line.enc_name()}) {
        if (value.isEmpty())
            return std::nullopt;
    }
    return IndexRows::FileValues{IndexNames::lastComponent(line.fname()),
                                 line.mod_time(),
                                 line.size(),
                                 line.file_ver(),
                                 line.folder_id(),
                                 line.mpc(),
                                 line.enc_name()};
}

QString ReindexListing::folderKey(const FileTransferData &line, bool backupMode, const QString &ownComputerFolder)
{
    const QString parent = IndexNames::parentPath(absolute(line.fname()));
    // A client without a computer folder keys its backups without one.
    if (!backupMode || !IndexPathRule::isComputerFolder(ownComputerFolder))
        return parent;
    // The engine names the computer folder with or without its leading "/".
    QString computerFolder = line.mpc();
    while (computerFolder.startsWith(QLatin1Char('/')))
        computerFolder.remove(0, 1);
    if (computerFolder.isEmpty())
        return parent;
    return QLatin1Char('/') + computerFolder + (parent == QLatin1String("/") ? QString() : parent);
}
