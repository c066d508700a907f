#include "session/operation/OperationFolder.h"

#include "common/utility/QLUtility.h"
#include "session/operation/PrivateFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

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

bool OperationFolder::makePrivateFolder(const QString &path)
{
    return QDir().mkpath(path) &&
           QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

bool OperationFolder::writePrivateText(const QString &path, const QString &text)
{
    PrivateFileWriter file(path);
    file.appendText(text);
    return file.commit();
}

bool OperationFolder::replaceWithLink(const QString &existing, const QString &path)
{
    // The folder is the user's alone, so a fixed name for the new link is safe.
    const QFileInfo target(path);
    const QByteArray link = QFile::encodeName(target.absolutePath() + QStringLiteral("/.link-") + target.fileName());
    ::unlink(link.constData());
    if (::link(QFile::encodeName(existing).constData(), link.constData()) != 0)
        return false;
    if (std::rename(link.constData(), QFile::encodeName(path).constData()) != 0) {
        ::unlink(link.constData());
        return false;
    }
    return true;
}

std::optional<QString> OperationFolder::readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(file.readAll());
}
