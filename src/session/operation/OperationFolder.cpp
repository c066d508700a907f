#include "session/operation/OperationFolder.h"

#include "common/utility/QLUtility.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

namespace {

constexpr QFileDevice::Permissions kPrivateFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

bool makePrivateFolder(const QString &path)
{
    return QDir().mkpath(path) && QFile::setPermissions(path, kPrivateFolder);
}

}  // namespace

void OperationFolder::setLocation(const QString &applicationSupportFolder, bool isRestore)
{
    mPath = QStringLiteral("%1/Operation/%2")
                .arg(applicationSupportFolder, isRestore ? QStringLiteral("Restore") : QStringLiteral("Backup"));
}

QString OperationFolder::blockPath(long blockNumber) const
{
    return QStringLiteral("%1_%2").arg(blockStem()).arg(blockNumber);
}

QString OperationFolder::outputFile(long blockNumber) const
{
    return QStringLiteral("%1/OutData_%2.txt").arg(mPath).arg(blockNumber);
}

QString OperationFolder::errorFile(long blockNumber) const
{
    return QStringLiteral("%1/ErrorData_%2.txt").arg(mPath).arg(blockNumber);
}

bool OperationFolder::create()
{
    remove();
    // The parent "Operation" folder is private too: it holds the other kind's folder.
    return makePrivateFolder(QFileInfo(mPath).absolutePath()) && makePrivateFolder(mPath);
}

void OperationFolder::remove()
{
    if (!mPath.isEmpty())
        QLUtility::removeFolder(mPath);
}

bool OperationFolder::writePrivateText(const QString &path, const QString &text)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder) && !makePrivateFolder(folder))
        return false;
    // Written beside the file (made 0600), then renamed over it.
    QTemporaryFile file(folder + QStringLiteral("/.write-XXXXXX"));
    const QByteArray bytes = text.toUtf8();
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        return false;
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}

std::optional<QString> OperationFolder::readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(file.readAll());
}
