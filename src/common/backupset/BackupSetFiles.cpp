#include "common/backupset/BackupSetFiles.h"

#include "common/files/DirectiryCreation.h"
#include "common/files/TXSupportFileManager.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/KeyedArchive.h"
#include "platform/PathStandardizer.h"
#include "platform/PathTemplate.h"
#include "platform/PropertyList.h"

#include <QFileInfo>
#include <QtDebug>

#include <functional>

namespace {

const QString kArchiveRootKey = QStringLiteral("root");

QStringList stringsOf(const QVariant &value)
{
    QStringList strings;
    for (const QVariant &item : value.toList()) {
        if (item.typeId() == QMetaType::QString)
            strings.append(item.toString());
    }
    return strings;
}

bool writeInFolder(const QString &path, const std::function<bool(QString *)> &write)
{
    QString error;
    if (!QFileInfo(path).isAbsolute() ||
        !Directiry_Creation::createPrivateDirectoryHierarchyAtPath(QFileInfo(path).path()) || !write(&error)) {
        qWarning().noquote() << "could not write" << path << error;
        return false;
    }
    return true;
}

}  // namespace

BackupSetFiles::BackupSetFiles(const QString &userName, bool backupMode)
    : mUserName(userName)
    , mBackupMode(backupMode)
{}

QString BackupSetFiles::userPath(const QString &key) const
{
    return PathStandardizer::standardizePath(PathTemplate::fillTemplate(QLLocalizedString(key), {mUserName}));
}

QString BackupSetFiles::pathForDataFile() const
{
    return mBackupMode ? TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::BackupsetPath)
                       : userPath(QStringLiteral("SyncsetPath"));
}

QString BackupSetFiles::pathForHistoryFile() const
{
    const QString name =
        mBackupMode ? QStringLiteral("BackupSetHistory.plist") : QStringLiteral("SyncSetHistory.plist");
    return QFileInfo(pathForDataFile()).path() + '/' + mUserName + '/' + name;
}

QString BackupSetFiles::sizeFilePath() const
{
    return mBackupMode
               ? TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::BackupsetSizePath)
               : userPath(QStringLiteral("SyncsetSizePath"));
}

QString BackupSetFiles::sizeFlagFilePath() const
{
    return mBackupMode
               ? TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::BackupsetSizeFlagPath)
               : userPath(QStringLiteral("SyncsetSizeFlagPath"));
}

QString BackupSetFiles::timeMachineListPath() const
{
    return userPath(mBackupMode ? QStringLiteral("TimeMachineBackupReferencePath")
                                : QStringLiteral("TimeMachineSyncReferencePath"));
}

std::optional<QStringList> BackupSetFiles::readList(const QString &path)
{
    if (!QFileInfo::exists(path))
        return QStringList();
    QString error;
    const auto list = PropertyList::read(path, &error);
    if (!list || list->typeId() != QMetaType::QVariantList) {
        qWarning().noquote() << "not a list of paths:" << path << error;
        return std::nullopt;
    }
    return stringsOf(*list);
}

bool BackupSetFiles::writeList(const QString &path, const QStringList &paths)
{
    return writeInFolder(path, [&](QString *error) {
        return PropertyList::write(path, QVariant(paths), PropertyList::kDefaultMode, PropertyList::Format::Xml, error);
    });
}

std::optional<QStringList> BackupSetFiles::readHistory(const QString &path)
{
    if (!QFileInfo::exists(path))
        return QStringList();
    QString error;
    const auto archive = KeyedArchive::read(path, &error);
    if (!archive) {
        qWarning().noquote() << "not a history archive:" << path << error;
        return std::nullopt;
    }
    return stringsOf(archive->value(kArchiveRootKey));
}

bool BackupSetFiles::writeHistory(const QString &path, const QStringList &paths)
{
    return writeInFolder(path, [&](QString *error) {
        return KeyedArchive::write(path, {{kArchiveRootKey, QVariant(paths)}}, PropertyList::kDefaultMode, error);
    });
}
