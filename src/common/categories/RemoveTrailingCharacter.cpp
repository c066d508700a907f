#include "common/categories/RemoveTrailingCharacter.h"

#include <QFileInfo>

namespace removeTrailingCharacter {

bool isDir(const QString &path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

QString removeTrailingCharacter(const QString &text) { return text.isEmpty() ? text : text.chopped(1); }

}  // namespace removeTrailingCharacter
