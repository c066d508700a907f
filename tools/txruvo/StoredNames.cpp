#include "txruvo/StoredNames.h"

#include "txruvo/DriveLayout.h"

namespace {

const QLatin1String kMarkerSuffix(DriveLayout::kMarkerSuffix);
const QLatin1String kEnginePrefix(DriveLayout::kTemporaryPrefix);

bool hasEscape(const QString &name)
{
    return name.endsWith(QLatin1String(StoredNames::kEscapeSuffix), Qt::CaseInsensitive);
}

bool hasBookkeepingForm(const QString &name)
{
    if (name.endsWith(kMarkerSuffix, Qt::CaseInsensitive) || name.startsWith(kEnginePrefix, Qt::CaseInsensitive))
        return true;
    for (const QString &suffix : StoredNames::thumbnailSuffixes()) {
        if (name.endsWith(suffix, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

}  // namespace

const QStringList &StoredNames::thumbnailSuffixes()
{
    static const QStringList suffixes = {QStringLiteral("_THINT"), QStringLiteral("_THSML"), QStringLiteral("_THTIN"),
                                         QStringLiteral("_THVID")};
    return suffixes;
}

QString StoredNames::thumbnailOwner(const QString &thumbnailName)
{
    for (const QString &suffix : thumbnailSuffixes()) {
        if (thumbnailName.endsWith(suffix, Qt::CaseInsensitive))
            return thumbnailName.chopped(suffix.size());
    }
    return {};
}

bool StoredNames::isBookkeeping(const QString &storedName)
{
    // An escaped user name may start with ".txruvo-"; the escape marks it as an item.
    return !hasEscape(storedName) && hasBookkeepingForm(storedName);
}

bool StoredNames::needsEscape(const QString &userName) { return hasEscape(userName) || hasBookkeepingForm(userName); }

QString StoredNames::escaped(const QString &userName)
{
    return needsEscape(userName) ? userName + QLatin1String(kEscapeSuffix) : userName;
}

QString StoredNames::unescaped(const QString &storedName)
{
    return hasEscape(storedName) ? storedName.chopped(int(sizeof(kEscapeSuffix)) - 1) : storedName;
}
