#include "common/categories/FileterArrayUsingBlocks.h"

#include <algorithm>

namespace fileterArrayUsingBlocks {

bool HasPrefix(const QSet<QString> &set, const QString &prefix)
{
    return std::any_of(set.cbegin(), set.cend(),
                       [&prefix](const QString &member) { return member.startsWith(prefix); });
}

}  // namespace fileterArrayUsingBlocks
