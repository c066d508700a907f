#include "platform/KeyedArchive.h"
#include "platform/ErrorSlot.h"

#include "platform/PropertyList.h"
#include "platform/VariantKinds.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <cmath>

namespace KeyedArchive {
namespace {

const QString kArchiverName = QStringLiteral("NSKeyedArchiver");
const qint64 kArchiveVersion = 100000;
const QString kNull = QStringLiteral("$null");
const QString kClass = QStringLiteral("$class");
const QString kObjects = QStringLiteral("NS.objects");
const QString kKeys = QStringLiteral("NS.keys");
const QString kTime = QStringLiteral("NS.time");
// Far beyond any archive this program writes; keeps a hostile file from exhausting the stack.
const qsizetype kMaximumDepth = 256;

bool isInlineScalar(const QVariant &value)
{
    return value.typeId() == QMetaType::Bool || VariantKinds::isNumber(value);
}

// Builds the "$objects" table. Index 0 is "$null"; a container takes its slot
// before its members, as the standard archiver numbers them.
class Encoder
{
public:
    Encoder() { mObjects.append(kNull); }

    QVariant reference(const QVariant &value) { return PropertyList::uidReference(add(value)); }

    QVariantList objects() const { return mObjects; }

private:
    quint64 add(const QVariant &value)
    {
        if (!value.isValid())
            return 0;
        if (value.userType() == qMetaTypeId<ArchivedObject>())
            return addObject(value.value<ArchivedObject>());
        switch (value.typeId()) {
        case QMetaType::QVariantList:
        case QMetaType::QStringList:
            return addList(value.toList());
        case QMetaType::QVariantMap:
        case QMetaType::QVariantHash:
            return addMap(value.toMap());
        case QMetaType::QDateTime: {
            const quint64 slot = reserve();
            mObjects[slot] =
                QVariantMap{{kTime, PropertyList::referenceDate().msecsTo(value.toDateTime()) / 1000.0},
                            {kClass, classReference(QStringLiteral("NSDate"), {QStringLiteral("NSObject")})}};
            return slot;
        }
        case QMetaType::QByteArray:
            return append(value.toByteArray());
        default:
            return append(isInlineScalar(value) ? value : QVariant(value.toString()));
        }
    }

    quint64 addList(const QVariantList &list)
    {
        const quint64 slot = reserve();
        QVariantList members;
        for (const QVariant &item : list)
            members.append(reference(item));
        mObjects[slot] = QVariantMap{{kObjects, members},
                                     {kClass, classReference(QStringLiteral("NSMutableArray"),
                                                             {QStringLiteral("NSArray"), QStringLiteral("NSObject")})}};
        return slot;
    }

    quint64 addMap(const QVariantMap &map)
    {
        const quint64 slot = reserve();
        QVariantList keys, values;
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            keys.append(reference(it.key()));
            values.append(reference(it.value()));
        }
        mObjects[slot] =
            QVariantMap{{kKeys, keys},
                        {kObjects, values},
                        {kClass, classReference(QStringLiteral("NSMutableDictionary"),
                                                {QStringLiteral("NSDictionary"), QStringLiteral("NSObject")})}};
        return slot;
    }

    quint64 addObject(const ArchivedObject &object)
    {
        const quint64 slot = reserve();
        QVariantMap entry;
        for (auto it = object.fields.cbegin(); it != object.fields.cend(); ++it)
            entry.insert(it.key(), isInlineScalar(it.value()) ? it.value() : reference(it.value()));
        entry.insert(kClass, classReference(object.className, {QStringLiteral("NSObject")}));
        mObjects[slot] = entry;
        return slot;
    }

    // One description per class, shared by all its instances.
    QVariant classReference(const QString &name, const QStringList &superclasses)
    {
        auto found = mClassSlots.constFind(name);
        if (found == mClassSlots.cend())
            found = mClassSlots.insert(
                name, append(QVariantMap{{QStringLiteral("$classname"), name},
                                         {QStringLiteral("$classes"), QStringList{name} + superclasses}}));
        return PropertyList::uidReference(found.value());
    }

    quint64 reserve() { return append(QVariant()); }

    quint64 append(const QVariant &value)
    {
        mObjects.append(value);
        return quint64(mObjects.size() - 1);
    }

    QVariantList mObjects;
    QHash<QString, quint64> mClassSlots;
};

// Resolves references into values. A reference outside the table, or one that
// leads back into an object being decoded, makes the archive broken.
//
// Each object is decoded once and shared after (values are implicitly shared),
// and the expanded size of what is handed back is bounded: an honest archive
// shares only leaves, so it expands to at most about its own reference count.
class Decoder
{
public:
    explicit Decoder(const QVariantList &objects)
        : mObjects(objects)
        , mBudget(referenceCount(objects) * 2 + 1024)
    {}

    std::optional<QVariant> resolve(const QVariant &reference)
    {
        if (!PropertyList::isUidReference(reference))
            return fail(QStringLiteral("a reference was expected"));
        const quint64 uid = reference.toMap().value(QStringLiteral("CF$UID")).toULongLong();
        if (uid >= quint64(mObjects.size()))
            return fail(QStringLiteral("reference %1 outside the object table").arg(uid));
        if (mInProgress.contains(uid))
            return fail(QStringLiteral("reference %1 refers to itself").arg(uid));
        if (mInProgress.size() >= kMaximumDepth)
            return fail(QStringLiteral("objects nested deeper than %1").arg(kMaximumDepth));
        const QVariant &entry = mObjects.at(qsizetype(uid));
        if (uid == 0 || entry == QVariant(kNull))
            return QVariant();
        if (entry.typeId() != QMetaType::QVariantMap || PropertyList::isUidReference(entry))
            return spend(1) ? std::optional(entry) : std::nullopt;
        if (const auto done = mDecoded.constFind(uid); done != mDecoded.cend())
            return spend(done->size) ? std::optional(done->value) : std::nullopt;
        mInProgress.insert(uid);
        const qint64 spentBefore = mSpent;
        auto value = decodeInstance(entry.toMap());
        mInProgress.remove(uid);
        if (value && spend(1))
            mDecoded.insert(uid, {*value, mSpent - spentBefore});
        return value;
    }

    QString error() const { return mError; }

private:
    struct Decoded
    {
        QVariant value;
        qint64 size;  // nodes of the expanded value
    };

    static qint64 referenceCount(const QVariantList &objects)
    {
        qint64 count = 0;
        for (const QVariant &entry : objects) {
            const QVariantMap map = entry.toMap();
            for (const QVariant &field : map)
                count += field.typeId() == QMetaType::QVariantList ? field.toList().size() : 1;
        }
        return count;
    }

    bool spend(qint64 nodes)
    {
        mSpent += nodes;
        if (mSpent <= mBudget)
            return true;
        fail(QStringLiteral("shared objects expand to more than %1 values").arg(mBudget));
        return false;
    }

    std::optional<QVariant> decodeInstance(const QVariantMap &entry)
    {
        const QVariant classNameValue = classNameOf(entry.value(kClass));
        if (classNameValue.typeId() != QMetaType::QString)
            return fail(QStringLiteral("an object whose class name is not text"));
        const QString className = classNameValue.toString();
        if (className.isEmpty())
            return fail(QStringLiteral("an object without a class name"));

        static const QSet<QString> lists{"NSArray",      "NSMutableArray", "NSSet",
                                         "NSMutableSet", "NSOrderedSet",   "NSMutableOrderedSet"};
        static const QSet<QString> maps{"NSDictionary", "NSMutableDictionary"};
        if (lists.contains(className))
            return resolveAll(entry.value(kObjects));
        if (maps.contains(className))
            return decodeMap(entry);
        // Schedule records hold calendar dates; their time reads as a plain date's does.
        if (className == "NSDate" || className == "NSCalendarDate")
            return decodeDate(entry.value(kTime));
        if (className == "NSString" || className == "NSMutableString")
            return typedField(entry, QStringLiteral("NS.string"), QMetaType::QString);
        if (className == "NSData" || className == "NSMutableData")
            return typedField(entry, QStringLiteral("NS.data"), QMetaType::QByteArray);
        return decodeObject(className, entry);
    }

    // Class descriptions are plain entries of the table, not instances.
    QVariant classNameOf(const QVariant &reference) const
    {
        if (!PropertyList::isUidReference(reference))
            return {};
        const quint64 uid = reference.toMap().value(QStringLiteral("CF$UID")).toULongLong();
        return mObjects.value(qsizetype(uid)).toMap().value(QStringLiteral("$classname"));
    }

    // The one field that holds a string's or a data object's value, of its own kind only.
    std::optional<QVariant> typedField(const QVariantMap &entry, const QString &key, QMetaType::Type type)
    {
        const QVariant value = entry.value(key);
        if (value.typeId() != type)
            return fail(QStringLiteral("%1 is missing or of the wrong kind").arg(key));
        return value;
    }

    std::optional<QVariant> resolveAll(const QVariant &references)
    {
        if (references.typeId() != QMetaType::QVariantList)
            return fail(QStringLiteral("a collection without its members"));
        QVariantList values;
        for (const QVariant &reference : references.toList()) {
            const auto value = resolve(reference);
            if (!value)
                return std::nullopt;
            values.append(*value);
        }
        return QVariant(values);
    }

    std::optional<QVariant> decodeMap(const QVariantMap &entry)
    {
        const auto keys = resolveAll(entry.value(kKeys));
        const auto values = keys ? resolveAll(entry.value(kObjects)) : std::nullopt;
        if (!values)
            return std::nullopt;
        const QVariantList keyList = keys->toList(), valueList = values->toList();
        if (keyList.size() != valueList.size())
            return fail(
                QStringLiteral("a dictionary with %1 keys and %2 values").arg(keyList.size()).arg(valueList.size()));
        QVariantMap map;
        for (qsizetype i = 0; i < keyList.size(); ++i) {
            if (keyList.at(i).typeId() != QMetaType::QString)
                return fail(QStringLiteral("a dictionary key that is not text"));
            map.insert(keyList.at(i).toString(), valueList.at(i));
        }
        return QVariant(map);
    }

    std::optional<QVariant> decodeObject(const QString &className, const QVariantMap &entry)
    {
        ArchivedObject object{className, {}};
        for (auto it = entry.cbegin(); it != entry.cend(); ++it) {
            if (it.key() == kClass)
                continue;
            if (!PropertyList::isUidReference(it.value())) {
                object.fields.insert(it.key(), it.value());
                continue;
            }
            const auto value = resolve(it.value());
            if (!value)
                return std::nullopt;
            object.fields.insert(it.key(), *value);
        }
        return QVariant::fromValue(object);
    }

    // Seconds from the reference date; a time that is not a number or lies
    // beyond any calendar a file could mean is refused, not converted.
    std::optional<QVariant> decodeDate(const QVariant &time)
    {
        constexpr double kLatestSeconds = 1e11;  // about 3,000 years either way
        bool ok = false;
        const double seconds = time.toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || std::fabs(seconds) > kLatestSeconds)
            return fail(QStringLiteral("a date that is not a usable time"));
        return QVariant(PropertyList::referenceDate().addMSecs(qint64(seconds * 1000.0)));
    }

    std::nullopt_t fail(const QString &reason)
    {
        if (mError.isEmpty())
            mError = reason;
        return std::nullopt;
    }

    const QVariantList &mObjects;
    const qint64 mBudget;
    qint64 mSpent = 0;
    QSet<quint64> mInProgress;
    QHash<quint64, Decoded> mDecoded;
    QString mError;
};

QVariant archiveOf(const QVariantMap &rootEntries)
{
    Encoder encoder;
    QVariantMap top;
    for (auto it = rootEntries.cbegin(); it != rootEntries.cend(); ++it)
        top.insert(it.key(), encoder.reference(it.value()));
    return QVariantMap{{QStringLiteral("$archiver"), kArchiverName},
                       {QStringLiteral("$version"), kArchiveVersion},
                       {QStringLiteral("$top"), top},
                       {QStringLiteral("$objects"), encoder.objects()}};
}

std::optional<QVariantMap> rootEntriesOf(const QVariant &archive, QString *error)
{
    const QVariantMap map = archive.toMap();
    const QVariant top = map.value(QStringLiteral("$top"));
    const QVariant objects = map.value(QStringLiteral("$objects"));
    if (archive.typeId() != QMetaType::QVariantMap || top.typeId() != QMetaType::QVariantMap ||
        objects.typeId() != QMetaType::QVariantList) {
        ErrorSlot::fill(error, QStringLiteral("not a keyed archive"));
        return std::nullopt;
    }
    const QVariantList table = objects.toList();
    Decoder decoder(table);
    QVariantMap entries;
    const QVariantMap topMap = top.toMap();
    for (auto it = topMap.cbegin(); it != topMap.cend(); ++it) {
        const auto value = decoder.resolve(it.value());
        if (!value) {
            ErrorSlot::fill(error, QStringLiteral("broken keyed archive: ") + decoder.error());
            return std::nullopt;
        }
        entries.insert(it.key(), *value);
    }
    return entries;
}

}  // namespace

QByteArray encode(const QVariantMap &rootEntries)
{
    return PropertyList::toData(archiveOf(rootEntries), PropertyList::Format::Binary);
}

std::optional<QVariantMap> decode(const QByteArray &bytes, QString *error)
{
    const auto archive = PropertyList::fromData(bytes, error);
    if (!archive)
        return std::nullopt;
    return rootEntriesOf(*archive, error);
}

bool write(const QString &path, const QVariantMap &rootEntries, QFileDevice::Permissions mode, QString *error)
{
    return PropertyList::write(path, archiveOf(rootEntries), mode, PropertyList::Format::Binary, error);
}

std::optional<QVariantMap> read(const QString &path, QString *error)
{
    const auto archive = PropertyList::read(path, error);
    if (!archive)
        return std::nullopt;
    QString reason;
    auto entries = rootEntriesOf(*archive, &reason);
    if (!entries)
        ErrorSlot::fill(error, path + ": " + reason);
    return entries;
}

}  // namespace KeyedArchive
