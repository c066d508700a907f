#include "client/shell/account/QuotaReport.h"

#include "common/account/QuotaFileKeys.h"
#include "common/categories/QuellonExtension.h"
#include "common/files/SettingsFileWriter.h"
#include "engine/controllers/RuvoQuotaController.h"
#include "platform/PropertyList.h"

#include <cmath>

namespace {

QString megabytesText(double value) { return QString::asprintf("%lf", value); }

}  // namespace

std::optional<QuotaReport> QuotaReport::fromEngineOutput(const QVariantMap &output)
{
    bool usedIsNumber = false;
    bool totalIsNumber = false;
    const double used = output.value(RuvoQuotaController::kUsedQuotaKey).toString().toDouble(&usedIsNumber);
    const double total = output.value(RuvoQuotaController::kTotalQuotaKey).toString().toDouble(&totalIsNumber);
    if (!totalIsNumber || !(total > 0) || !std::isfinite(total))
        return std::nullopt;
    return QuotaReport{usedIsNumber && std::isfinite(used) ? used : 0, total};
}

int QuotaReport::percentage() const
{
    const double percent = std::ceil(100 * usedMB() / totalMB());
    return percent < 0 ? 0 : percent > 100 ? 100 : static_cast<int>(percent);
}

bool QuotaReport::store(const QString &userDetailsPath) const
{
    QVariantMap details = PropertyList::readDictionary(userDetailsPath);
    details.insert(QuotaFileKeys::kTotalQuotaSize, quellonExtension::encryptedString(megabytesText(totalMB())));
    details.insert(QuotaFileKeys::kUsedQuotaSize,
                   quellonExtension::encryptedString(megabytesText(usedMB() > 0 ? usedMB() : 0)));
    QString error;
    return SettingsFileWriter::writeSettingsFile(userDetailsPath, details, PropertyList::kOwnerReadWrite, &error);
}
