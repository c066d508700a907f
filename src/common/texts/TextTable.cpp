#include "common/texts/TextTable.h"

#include "common/texts/QLLocalizedString.h"
#include "platform/PathRoots.h"
#include "platform/PropertyList.h"

#include <QtDebug>

QString TextTable::lookup(const QString &key)
{
    if (key.isNull())
        return QStringLiteral("");
    QMutexLocker lock(&mMutex);
    if (!mLoaded)
        loadLocked();
    const auto found = mValues.constFind(key);
    if (found == mValues.cend())
        return key;
    return PathRoots::expandRootTokens(found.value());
}

bool TextTable::isLoaded()
{
    QMutexLocker lock(&mMutex);
    if (!mLoaded)
        loadLocked();
    return mLoaded;
}

void TextTable::reload()
{
    QMutexLocker lock(&mMutex);
    mLoaded = false;
    mValues.clear();
}

// A failure leaves the table unloaded so the next lookup retries.
void TextTable::loadLocked()
{
    const QString path = PathRoots::resourcesFolder() + '/' + LocalizedText::brandFolderName() + "/Localizable.plist";
    QString error;
    const auto value = PropertyList::read(path, &error);
    if (!value || value->typeId() != QMetaType::QVariantMap) {
        qWarning().noquote() << "Localizable table not loaded:"
                             << (error.isEmpty() ? path + ": not a dictionary" : error);
        return;
    }
    const QVariantMap map = value->toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        mValues.insert(it.key(), it.value().toString());
    mLoaded = true;
}
