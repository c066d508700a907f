#include "client/browser/restore/RestoreDestinationStore.h"

#include "common/files/DirectiryCreation.h"
#include "common/files/TXSupportFileManager.h"
#include "common/files/TextFile.h"
#include "common/texts/Brand.h"
#include "platform/PathRoots.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A folder below the volumes root whose drive is not attached.
bool isOnMissingVolume(const QString &folder)
{
    const QString volumes = QDir::cleanPath(PathRoots::volumesRoot()) + QLatin1Char('/');
    if (!folder.startsWith(volumes))
        return false;
    const QString volume = folder.mid(volumes.size()).section(QLatin1Char('/'), 0, 0);
    return !QFileInfo(volumes + volume).isDir();
}

bool ensureFolder(const QString &folder)
{
    return QFileInfo(folder).isDir() || Directiry_Creation::createDirectoryHierarchyAtPath(folder);
}

}  // namespace

namespace RestoreDestinationStore {

QString restorePathFile()
{
    return TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::UserFolder) +
           QStringLiteral("/RestorePath");
}

QString defaultDestination()
{
    return PathRoots::homeFolder() + QLatin1Char('/') +
           Brand::pick(QStringLiteral("Tarnix Rizered Downloads"), QStringLiteral("Quellon Rizered Downloads"));
}

QString loadDestination(const QString &restorePathFile)
{
    const QString saved = QDir::cleanPath(TextFile::read(restorePathFile).value_or(QString()).trimmed());
    if (!saved.isEmpty() && saved != QLatin1String(".") && QDir::isAbsolutePath(saved) && !isOnMissingVolume(saved) &&
        ensureFolder(saved))
        return saved;
    const QString fallback = defaultDestination();
    ensureFolder(fallback);
    return fallback;
}

bool saveDestination(const QString &folder, const QString &restorePathFile)
{
    return TextFile::write(restorePathFile, folder);
}

bool promptPreference(const QVariantMap &userPreferences) { return userPreferences.value(kPromptKey).toBool(); }

bool writePromptPreference(const QString &preferenceFile, const QString &userName, bool prompt)
{
    if (preferenceFile.isEmpty() || userName.isEmpty())
        return false;
    QVariantMap all;
    if (QFileInfo::exists(preferenceFile)) {
        // A file that is not a dictionary is left as it is rather than replaced.
        const std::optional<QVariant> stored = PropertyList::read(preferenceFile);
        if (!stored || stored->typeId() != QMetaType::QVariantMap)
            return false;
        all = stored->toMap();
    }
    QVariantMap user = all.value(userName).toMap();
    user.insert(kPromptKey, prompt);
    all.insert(userName, user);
    QDir().mkpath(QFileInfo(preferenceFile).absolutePath());
    return PropertyList::write(preferenceFile, all);
}

}  // namespace RestoreDestinationStore
