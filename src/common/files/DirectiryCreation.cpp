#include "common/files/DirectiryCreation.h"

#include <QDir>

namespace Directiry_Creation {

bool createDirectoryHierarchyAtPath(const QString &path)
{
    return !path.isEmpty() && QDir().mkpath(path);
}

}  // namespace Directiry_Creation
