#include "common/texts/Brand.h"

#include "common/texts/QLLocalizedString.h"

namespace Brand {

bool isTarnix() { return QLLocalizedString(QStringLiteral("ApplicationName")).startsWith(QLatin1String("Tarnix")); }

}  // namespace Brand
