#include "client/browser/operations/FolderSizeRules.h"

#include "common/categories/QuellonExtension.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "index/IndexQueryKeys.h"
#include "platform/PathTemplate.h"

namespace FolderSizeRules {

QString message(const QString &folderPath, const QVariantMap &result)
{
    // The index writes its total as a real number ("2048.0").
    const double size = result.value(IndexQueryKeys::kFolderSize).toString().toDouble();
    if (size == -2)
        return QLLocalizedString(kMaintenanceText);
    if (size == -1)
        return QLLocalizedString(kUnavailableText);
    const QString name = folderPath.section(QLatin1Char('/'), -1);
    const quint64 bytes = size > 0 ? quint64(size) : 0;
    if (result.contains(IndexQueryKeys::kFileCount))
        return PathTemplate::fillTemplate(
            QLLocalizedString(kWithCountText),
            {name, QLUtility::formatedFileSizeAsString(bytes),
             quellonExtension::numberFormat(result.value(IndexQueryKeys::kFileCount).toString())});
    return PathTemplate::fillTemplate(QLLocalizedString(kWithoutCountText),
                                      {name, QLUtility::formatedFileSizeAsString(bytes * 1024)});
}

}  // namespace FolderSizeRules
