#include "common/transfer/ProgressReport.h"

#include <algorithm>
#include <map>

namespace {

struct NamedField
{
    QString key;
    ProgressReport::Field field;
};

const std::array<QString, ProgressReport::FieldCount> &keysByField()
{
    static const std::array<QString, ProgressReport::FieldCount> keys = {
        QStringLiteral("totalFileCount"), QStringLiteral("fileTransferedStatus"),
        QStringLiteral("encFilename"),    QStringLiteral("mpcName"),
        QStringLiteral("folderID"),       QStringLiteral("filename"),
        QStringLiteral("relativePath"),   QStringLiteral("filesize"),
        QStringLiteral("tansferMode"),    QStringLiteral("percentage"),
        QStringLiteral("totalsize"),      QStringLiteral("cumulativetransfersize"),
        QStringLiteral("transferSpeed"),  QStringLiteral("speed"),
        QStringLiteral("estimatedTime"),  QStringLiteral("VersionNumber"),
    };
    return keys;
}

// Every field under its key, sorted as the dictionary sorts its keys.
const std::array<NamedField, ProgressReport::FieldCount> &fieldsInKeyOrder()
{
    static const auto sorted = [] {
        std::array<NamedField, ProgressReport::FieldCount> fields;
        for (int field = 0; field < ProgressReport::FieldCount; ++field)
            fields[field] = {keysByField()[field], ProgressReport::Field(field)};
        std::sort(fields.begin(), fields.end(), [](const NamedField &a, const NamedField &b) { return a.key < b.key; });
        return fields;
    }();
    return sorted;
}

}  // namespace

bool ProgressReport::isEmpty() const
{
    return std::none_of(mFields.begin(), mFields.end(), [](const std::optional<QString> &f) { return f.has_value(); });
}

QVariantMap ProgressReport::toMap() const
{
    std::map<QString, QVariant> map;
    for (const NamedField &each : fieldsInKeyOrder())
        if (const std::optional<QString> &value = mFields[each.field])
            map.emplace_hint(map.end(), each.key, *value);
    return QVariantMap(std::move(map));
}
