#include "session/progress/ProgressReport.h"

#include <algorithm>
#include <map>

namespace {

struct NamedField
{
    QString key;
    ProgressReport::Field field;
};

// Every field under its key, sorted as the dictionary sorts its keys.
const std::array<NamedField, ProgressReport::FieldCount> &fieldsInKeyOrder()
{
    static const auto sorted = [] {
        std::array<NamedField, ProgressReport::FieldCount> fields = {{
            {QStringLiteral("totalFileCount"), ProgressReport::TotalFileCount},
            {QStringLiteral("fileTransferedStatus"), ProgressReport::FileTransferedStatus},
            {QStringLiteral("encFilename"), ProgressReport::EncFilename},
            {QStringLiteral("mpcName"), ProgressReport::MpcName},
            {QStringLiteral("folderID"), ProgressReport::FolderID},
            {QStringLiteral("filename"), ProgressReport::Filename},
            {QStringLiteral("relativePath"), ProgressReport::RelativePath},
            {QStringLiteral("filesize"), ProgressReport::Filesize},
            {QStringLiteral("tansferMode"), ProgressReport::TansferMode},
            {QStringLiteral("percentage"), ProgressReport::Percentage},
            {QStringLiteral("totalsize"), ProgressReport::Totalsize},
            {QStringLiteral("cumulativetransfersize"), ProgressReport::Cumulativetransfersize},
            {QStringLiteral("transferSpeed"), ProgressReport::TransferSpeed},
            {QStringLiteral("speed"), ProgressReport::Speed},
            {QStringLiteral("estimatedTime"), ProgressReport::EstimatedTime},
            {QStringLiteral("VersionNumber"), ProgressReport::VersionNumber},
        }};
        std::sort(fields.begin(), fields.end(), [](const NamedField &a, const NamedField &b) { return a.key < b.key; });
        return fields;
    }();
    return sorted;
}

}  // namespace

QVariantMap ProgressReport::toMap() const
{
    std::map<QString, QVariant> map;
    for (const NamedField &each : fieldsInKeyOrder())
        if (const std::optional<QString> &value = mFields[each.field])
            map.emplace_hint(map.end(), each.key, *value);
    return QVariantMap(std::move(map));
}
