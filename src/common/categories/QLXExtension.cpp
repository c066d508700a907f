#include "common/categories/QLXExtension.h"

#include "platform/ProcessTable.h"

namespace QLXExtension {

QList<qint64> getAllProcessIDsWithName(const QString &name) { return ProcessTable::processIdsNamed(name); }

void killAllProcessesWithName(const QString &name) { ProcessTable::terminateProcessesNamed(name); }

}  // namespace QLXExtension
