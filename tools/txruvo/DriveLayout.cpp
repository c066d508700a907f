#include "txruvo/DriveLayout.h"

#include "txruvo/CommandLine.h"
#include "txruvo/Posix.h"
#include "txruvo/StoredNames.h"

#include <QCryptographicHash>

namespace {

// "<UserName>.ver" beside the computer's items, UserName being the name of
// the computer folder's parent. An existing folder that differs only in case
// is used as it is, since the client may have made it with either case.
QString findVersionFolder(const QString &computerFolder)
{
    const QString wanted = Posix::fileName(Posix::parentOf(computerFolder)) + QStringLiteral(".ver");
    struct stat status
    {};
    if (Posix::lstatPath(joinPath(computerFolder, wanted), &status))
        return joinPath(computerFolder, wanted);  // the common case, without listing the folder
    // Listed with the C library: Qt's folder classes cost a short run more
    // to set up than the listing itself.
    for (const QString &name : Posix::namesIn(computerFolder)) {
        const QString path = joinPath(computerFolder, name);
        if (name.compare(wanted, Qt::CaseInsensitive) == 0 && Posix::lstatPath(path, &status) &&
            S_ISDIR(status.st_mode))
            return path;
    }
    return joinPath(computerFolder, wanted);
}

QString versionSuffix(int version) { return QStringLiteral(".qlvn%1").arg(version, 3, 10, QLatin1Char('0')); }

constexpr qsizetype kNameMax = 255;  // bytes of one name, on every file system the drive may have
constexpr QLatin1String kVersionSuffixOfBase(".qlvn001");

// A bookkeeping path beside (or in the version folder's mirror of) the item's path.
QString bookkeepingPath(const QString &folder, const QString &storedName, const QString &suffix)
{
    return joinPath(folder, DriveLayout::bookkeepingName(storedName, QLatin1String(suffix.toLatin1())));
}

}  // namespace

DriveLayout::DriveLayout(const QString &computerFolder, bool hasVersions)
    : mComputerFolder(folderPath(computerFolder))
    , mVersionFolder(hasVersions ? findVersionFolder(mComputerFolder) : QString())
{}

QString DriveLayout::mpc() const { return '/' + Posix::fileName(mComputerFolder); }

QString DriveLayout::storedPathOf(const QString &userPath) const
{
    QStringList parts = userPath.split('/');
    // parts[0] is the empty text before the leading "/"; parts[1] the top.
    for (qsizetype i = 1; i < parts.size(); ++i)
        parts[i] = storedNameOf(parts[i], i == 1);
    return parts.join('/');
}

QString DriveLayout::storedNameOf(const QString &userName, bool atTop) const
{
    const bool isVersionFolder =
        atTop && hasVersions() && userName.compare(Posix::fileName(mVersionFolder), Qt::CaseInsensitive) == 0;
    if (isVersionFolder && !StoredNames::needsEscape(userName))
        return userName + QLatin1String(StoredNames::kEscapeSuffix);
    return StoredNames::escaped(userName);
}

QString DriveLayout::userPathOf(const QString &storedPath) const
{
    QStringList parts = storedPath.split('/');
    for (QString &part : parts)
        part = StoredNames::unescaped(part);
    return parts.join('/');
}

QString DriveLayout::itemPath(const QString &relativePath) const { return joinPath(mComputerFolder, relativePath); }

QByteArray DriveLayout::bookkeepingName(QByteArrayView storedName, QByteArrayView suffix)
{
    if (storedName.size() + suffix.size() <= kNameMax)
        return storedName.toByteArray() + suffix.toByteArray();
    const QByteArray hash = QCryptographicHash::hash(storedName, QCryptographicHash::Sha256).left(8).toHex();
    qsizetype keep = kNameMax - suffix.size() - 1 - hash.size();
    // Never cut inside a UTF-8 character.
    while (keep > 0 && (uchar(storedName.at(keep)) & 0xC0) == 0x80)
        --keep;
    return storedName.first(keep).toByteArray() + '~' + hash + suffix.toByteArray();
}

QString DriveLayout::bookkeepingName(const QString &storedName, QLatin1String suffix)
{
    return Posix::fromNative(bookkeepingName(Posix::native(storedName), QByteArrayView(suffix.data(), suffix.size())));
}

QString DriveLayout::versionBaseName(const QString &storedName)
{
    return bookkeepingName(storedName, kVersionSuffixOfBase).chopped(kVersionSuffixOfBase.size());
}

QString DriveLayout::markerPath(const QString &itemPath)
{
    return bookkeepingPath(Posix::parentOf(itemPath), Posix::fileName(itemPath), QLatin1String(kMarkerSuffix));
}

QString DriveLayout::imageAttributesPath(const QString &itemPath)
{
    return joinPath(Posix::parentOf(itemPath),
                    QLatin1String(kTemporaryPrefix) + QStringLiteral("imd_") + Posix::fileName(itemPath));
}

QStringList DriveLayout::companionPaths(const QString &itemPath)
{
    QStringList paths;
    for (const QString &suffix : StoredNames::thumbnailSuffixes())
        paths << itemPath + suffix << markerPath(itemPath + suffix);
    return paths << imageAttributesPath(itemPath);
}

QString DriveLayout::versionPath(const QString &relativePath, int version) const
{
    return bookkeepingPath(joinPath(mVersionFolder, Posix::parentOf(relativePath)), Posix::fileName(relativePath),
                           versionSuffix(version));
}

QString DriveLayout::markerVersionPath(const QString &relativePath, int version) const
{
    return bookkeepingPath(joinPath(mVersionFolder, Posix::parentOf(relativePath)), Posix::fileName(relativePath),
                           QLatin1String(kMarkerSuffix) + versionSuffix(version));
}

QString DriveLayout::relativePathOf(const QString &itemPath) const { return itemPath.mid(mComputerFolder.size()); }
