#include "common/categories/MyExtensions.h"

#include "platform/KeyedArchive.h"
#include "platform/PropertyList.h"

#include <QtDebug>

namespace MyExtensions {

bool writeToArchivedFile(const QVariantList &array, const QString &path, const QString &key)
{
    QString error;
    if (KeyedArchive::write(path, {{key, array}}, PropertyList::kOwnerReadWrite, &error))
        return true;
    qWarning().noquote() << "Archive not written:" << error;
    return false;
}

std::optional<QVariantList> initWithContentsOfArchivedFile(const QString &path, const QString &key)
{
    QString error;
    const auto entries = KeyedArchive::read(path, &error);
    if (!entries) {
        qWarning().noquote() << "Archive not read:" << error;
        return std::nullopt;
    }
    const QVariant value = entries->value(key);
    return value.typeId() == QMetaType::QVariantList ? value.toList() : QVariantList();
}

QStringList objectsWithPrefix(const QStringList &array, const QString &prefix)
{
    if (prefix.isNull())
        return {};
    QStringList matches;
    for (const QString &member : array) {
        if (member.startsWith(prefix))
            matches.append(member);
    }
    return matches;
}

}  // namespace MyExtensions
