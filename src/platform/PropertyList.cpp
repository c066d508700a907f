#include "platform/PropertyList.h"
#include "platform/ErrorSlot.h"
#include "platform/PlistStructure.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QTimeZone>

#include <plist/plist.h>

#include <memory>

namespace PropertyList {
namespace {

const QString kUidKey = QStringLiteral("CF$UID");

struct PlistDeleter
{
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

// The parser's tree as values. The depth is bounded here too, where the reading
// recurses, whatever the checks before parsing let through.
QVariant toVariant(plist_t node, int depth, bool *tooDeep)
{
    if (depth > PlistStructure::kMaximumDepth) {
        *tooDeep = true;
        return {};
    }
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return bool(value);
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return qint64(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char *text = plist_get_string_ptr(node, &length);
        return QString::fromUtf8(text ? text : "", text ? qsizetype(length) : 0);
    }
    case PLIST_DATA: {
        char *bytes = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &bytes, &length);
        const QByteArray result(bytes, qsizetype(length));
        free(bytes);
        return result;
    }
    case PLIST_DATE: {
        int32_t seconds = 0, microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return referenceDate().addMSecs(qint64(seconds) * 1000 + microseconds / 1000);
    }
    case PLIST_UID: {
        uint64_t value = 0;
        plist_get_uid_val(node, &value);
        return uidReference(value);
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t count = plist_array_get_size(node);
        for (uint32_t i = 0; i < count; ++i)
            list.append(toVariant(plist_array_get_item(node, i), depth + 1, tooDeep));
        return list;
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(node, &iter);
        for (;;) {
            char *key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, iter, &key, &value);
            if (!value) {
                free(key);
                break;
            }
            map.insert(QString::fromUtf8(key), toVariant(value, depth + 1, tooDeep));
            free(key);
        }
        free(iter);
        return map;
    }
    default:
        return {};
    }
}

plist_t fromVariant(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return plist_new_bool(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
        return plist_new_uint(uint64_t(value.toLongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
        return plist_new_real(value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return plist_new_data(bytes.constData(), uint64_t(bytes.size()));
    }
    case QMetaType::QDateTime: {
        const qint64 msecs = referenceDate().msecsTo(value.toDateTime());
        return plist_new_date(int32_t(msecs / 1000), int32_t((msecs % 1000) * 1000));
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        plist_t array = plist_new_array();
        for (const QVariant &item : value.toList())
            plist_array_append_item(array, fromVariant(item));
        return array;
    }
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash: {
        if (isUidReference(value))
            return plist_new_uid(value.toMap().value(kUidKey).toULongLong());
        plist_t dict = plist_new_dict();
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            plist_dict_set_item(dict, it.key().toUtf8().constData(), fromVariant(it.value()));
        return dict;
    }
    default:
        return plist_new_string(value.toString().toUtf8().constData());
    }
}

}  // namespace

const QDateTime &referenceDate()
{
    static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return reference;
}

QVariant uidReference(quint64 uid) { return QVariantMap{{kUidKey, uid}}; }

bool isUidReference(const QVariant &value)
{
    if (value.typeId() != QMetaType::QVariantMap)
        return false;
    const QVariantMap map = value.toMap();
    return map.size() == 1 && map.contains(kUidKey);
}

std::optional<QVariant> fromData(const QByteArray &bytes, QString *error)
{
    if (bytes.isEmpty()) {
        ErrorSlot::fill(error, QStringLiteral("empty property list"));
        return std::nullopt;
    }
    const bool binary = plist_is_binary(bytes.constData(), uint32_t(bytes.size()));
    const QString problem = binary ? PlistStructure::problemInBinary(bytes) : PlistStructure::problemInXml(bytes);
    if (!problem.isEmpty()) {
        ErrorSlot::fill(error, QStringLiteral("not a usable property list: ") + problem);
        return std::nullopt;
    }
    plist_t root = nullptr;
    if (binary)
        plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &root);
    else
        plist_from_xml(bytes.constData(), uint32_t(bytes.size()), &root);
    if (!root) {
        ErrorSlot::fill(error, QStringLiteral("not a property list"));
        return std::nullopt;
    }
    PlistPtr owner(root);
    bool tooDeep = false;
    QVariant value = toVariant(root, 0, &tooDeep);
    if (tooDeep) {
        ErrorSlot::fill(error, QStringLiteral("not a usable property list: objects nested deeper than %1")
                                   .arg(PlistStructure::kMaximumDepth));
        return std::nullopt;
    }
    return value;
}

QByteArray toData(const QVariant &value, Format format)
{
    PlistPtr root(fromVariant(value));
    char *bytes = nullptr;
    uint32_t length = 0;
    if (format == Format::Binary) {
        plist_to_bin(root.get(), &bytes, &length);
        const QByteArray result(bytes, qsizetype(length));
        plist_to_bin_free(bytes);
        return result;
    }
    plist_to_xml(root.get(), &bytes, &length);
    const QByteArray result(bytes, qsizetype(length));
    plist_to_xml_free(bytes);
    return result;
}

std::optional<QVariant> read(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ErrorSlot::fill(error, path + ": " + file.errorString());
        return std::nullopt;
    }
    QString reason;
    auto value = fromData(file.readAll(), &reason);
    if (!value)
        ErrorSlot::fill(error, path + ": " + reason);
    return value;
}

QVariantMap readDictionary(const QString &path, QString *error)
{
    const auto value = read(path, error);
    if (!value)
        return {};
    if (value->typeId() != QMetaType::QVariantMap) {
        ErrorSlot::fill(error, path + ": not a dictionary");
        return {};
    }
    return value->toMap();
}

bool write(const QString &path, const QVariant &value, QFileDevice::Permissions mode, Format format, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        ErrorSlot::fill(error, path + ": " + file.errorString());
        return false;
    }
    const QByteArray bytes = toData(value, format);
    if (file.write(bytes) != bytes.size() || !file.setPermissions(mode) || !file.commit()) {
        ErrorSlot::fill(error, path + ": " + file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

}  // namespace PropertyList
