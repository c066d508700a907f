#include "txruvo/DriveLayout.h"

#include "txruvo/CommandLine.h"
#include "txruvo/Posix.h"

#include <QDir>

namespace {

// "<UserName>.ver" beside the computer's items, UserName being the name of
// the computer folder's parent. An existing folder that differs only in case
// is used as it is, since the client may have made it with either case.
QString findVersionFolder(const QString &computerFolder)
{
    const QString wanted = Posix::fileName(Posix::parentOf(computerFolder)) + QStringLiteral(".ver");
    const QStringList existing = QDir(computerFolder).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : existing) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return joinPath(computerFolder, name);
    }
    return joinPath(computerFolder, wanted);
}

QString versionSuffix(int version)
{
    return QStringLiteral(".qlvn%1").arg(version, 3, 10, QLatin1Char('0'));
}


}  // namespace

bool DriveLayout::isBookkeepingName(const QString &name)
{
    static const QStringList thumbnailSuffixes = {QStringLiteral("_THINT"), QStringLiteral("_THSML"),
                                                  QStringLiteral("_THTIN"), QStringLiteral("_THVID")};
    if (name.endsWith(QLatin1String(kMarkerSuffix)) || name.startsWith(QLatin1String(kTemporaryPrefix)))
        return true;
    for (const QString &suffix : thumbnailSuffixes) {
        if (name.endsWith(suffix))
            return true;
    }
    return false;
}

DriveLayout::DriveLayout(const QString &computerFolder, bool hasVersions)
    : mComputerFolder(folderPath(computerFolder))
    , mVersionFolder(hasVersions ? findVersionFolder(mComputerFolder) : QString())
{
}

QString DriveLayout::mpc() const
{
    return '/' + Posix::fileName(mComputerFolder);
}

QString DriveLayout::itemPath(const QString &relativePath) const
{
    return joinPath(mComputerFolder, relativePath);
}

QString DriveLayout::markerPath(const QString &itemPath)
{
    return itemPath + QLatin1String(kMarkerSuffix);
}

QString DriveLayout::versionPath(const QString &relativePath, int version) const
{
    return joinPath(mVersionFolder, relativePath) + versionSuffix(version);
}

QString DriveLayout::markerVersionPath(const QString &relativePath, int version) const
{
    return joinPath(mVersionFolder, relativePath) + QLatin1String(kMarkerSuffix) + versionSuffix(version);
}

QString DriveLayout::relativePathOf(const QString &itemPath) const
{
    return itemPath.mid(mComputerFolder.size());
}
